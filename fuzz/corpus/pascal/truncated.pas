procedure
