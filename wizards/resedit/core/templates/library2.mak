# ---------------------------------------------------------------------------
# Resource-only library written by the resource editor. Build it with the
# C++Builder command-line tools: make -f <this file>
# bcc32 compiles the main source (the .cpp of the same name); ilink32 links
# the library and binds the 32-bit resource file named in RESFILES.
# ---------------------------------------------------------------------------
BCB = $(MAKEDIR)\..
PROJECT = 
OBJFILES = 
RESFILES = 
# ---------------------------------------------------------------------------
LIBFILE = $(PROJECT).dll
CFLAG1 = -WD -O2 -w- -c
LFLAGS = -Tpd -aa -x -Gn
ALLOBJ = c0d32.obj $(OBJFILES)
ALLLIB = import32.lib cw32.lib
# ---------------------------------------------------------------------------
$(LIBFILE): $(OBJFILES) $(RESFILES)
    $(BCB)\BIN\ilink32 $(LFLAGS) $(ALLOBJ), $(LIBFILE),, $(ALLLIB),, $(RESFILES)

.cpp.obj:
    $(BCB)\BIN\bcc32 $(CFLAG1) -I$(BCB)\include -o$@ $<
# ---------------------------------------------------------------------------
