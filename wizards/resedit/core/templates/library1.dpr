Library Project1;

{ Resource-only library written by the resource editor. It holds no
  code: a program loads it with LoadLibrary, reads its resources with
  FindResource, LoadString, LoadBitmap, LoadIcon and LoadCursor, and
  frees it with FreeLibrary.

  Build it with the Pascal compiler, for example: dcc32 -B <this file>
  The resource file named below is the 32-bit resource file that the
  resource editor compiles; compile the project there before building
  this library. }

{ Resources }
{$R Project1.R32}

begin
end.
