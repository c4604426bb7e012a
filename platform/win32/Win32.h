#pragma once
// <windows.h> for the Win32 side. Some port methods share their names with the system's A/W macros
// (ReplaceFile, GetDriveType, FindWindowEx); those macros are removed here so the methods keep their names in
// every file that includes this header. Call the system functions by their W names.
#include <windows.h>

#undef ReplaceFile
#undef GetDriveType
#undef FindWindowEx
