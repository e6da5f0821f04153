#pragma once
// windows.h for the Win32 side. The platform interfaces have operations
// named like Win32 functions that windows.h turns into macros (CreateProcess
// would become CreateProcessA, and so on); the names are freed again here, so
// that a class and its users agree on them. This code calls the "A"
// functions by their full names.
#include <windows.h>
#include <shellapi.h>
#include <commdlg.h>

#undef CreateProcess
#undef CreateDirectory
#undef DeleteFile
#undef FindWindowEx
#undef GetClassName
#undef FindText
