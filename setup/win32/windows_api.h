#pragma once
// <windows.h> and <winspool.h> for the setup tool's shell, without the macros
// that would rename members of the FileSystem and Spooler interfaces
// (CopyFile, DeleteFile, AddMonitor, DeleteMonitor, AddPrinter) to their wide
// names in some translation units and not in others. The shell calls the
// system's functions by their wide names.

#include <windows.h>
#include <winspool.h>

#undef CopyFile
#undef DeleteFile
#undef AddMonitor
#undef DeleteMonitor
#undef AddPrinter
