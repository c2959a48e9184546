//---------------------------------------------------------------------------
// Resource-only library written by the resource editor. It holds no code of
// its own: a program loads it with LoadLibrary, reads its resources with
// FindResource, LoadString, LoadBitmap, LoadIcon and LoadCursor, and frees
// it with FreeLibrary. Build it with the make file of the same name.
//---------------------------------------------------------------------------
#include <windows.h>
#pragma hdrstop
//---------------------------------------------------------------------------
// USERES names the resource file that the linker binds into the library.
#ifndef USERES
#define USERES(FileName)
#endif
//---------------------------------------------------------------------------
// The 32-bit resource file that the resource editor compiles; compile the
// project there before building this library.
USERES("Project1.R32");
//---------------------------------------------------------------------------
int WINAPI DllEntryPoint(HINSTANCE, unsigned long, void*)
{
    return 1;
}
//---------------------------------------------------------------------------
