# Checks velmora.exe as it ships (EXE, read with OBJDUMP; VERSION is the expected 1.2.N):
# - it imports only from DLLs that come with Windows, so the single file runs from a disc on any machine;
# - it carries the manifest, the version resource, the icons and the bitmaps the windows load by number;
# - it is stripped and at most 1 MiB, and names its symbols file velmora.debug, which lies beside it and holds
#   the line tables.
cmake_minimum_required(VERSION 3.25)

file(SIZE ${EXE} size)
if(size GREATER 1048576)
  message(FATAL_ERROR "velmora.exe is ${size} bytes, more than 1 MiB")
endif()
execute_process(COMMAND ${OBJDUMP} -h ${EXE} OUTPUT_VARIABLE sections)
if(sections MATCHES "\\.debug_" OR NOT sections MATCHES "\\.gnu_debuglink")
  message(FATAL_ERROR "velmora.exe is not stripped, or does not name its symbols file")
endif()
get_filename_component(folder ${EXE} DIRECTORY)
execute_process(COMMAND ${OBJDUMP} -h ${folder}/velmora.debug OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT symbols MATCHES "\\.debug_line")
  message(FATAL_ERROR "velmora.debug beside velmora.exe is missing or has no line tables")
endif()

execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${EXE}")
endif()

set(system_dlls kernel32 user32 gdi32 comdlg32 comctl32 shell32 ole32 oleaut32 advapi32 shlwapi msvcrt uxtheme
                version winmm imm32 ntdll windowscodecs shcore)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "no import table found")
endif()
set(foreign "")
foreach(line IN LISTS imports)
  string(REGEX REPLACE "DLL Name: ([^ \r]+).*" "\\1" dll "${line}")
  string(TOLOWER "${dll}" dll)
  string(REGEX REPLACE "\\.dll$" "" base "${dll}")
  # The universal C runtime's API sets are part of Windows 10 and later.
  if(NOT base IN_LIST system_dlls AND NOT base MATCHES "^api-ms-win-(crt|core)-")
    list(APPEND foreign ${dll})
  endif()
endforeach()
if(foreign)
  message(FATAL_ERROR "velmora.exe needs DLLs that do not ship with Windows: ${foreign}")
endif()

# The resource tree as objdump prints it: types at one depth, their numbers one deeper.
string(REPLACE "\n" ";" lines "${dump}")
set(resources "")
set(type "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[0-9a-f]+   Entry: ID: 0x([0-9a-f]+)")
    math(EXPR type "0x${CMAKE_MATCH_1}")
  elseif(line MATCHES "^[0-9a-f]+     Entry: ID: 0x([0-9a-f]+)")
    math(EXPR id "0x${CMAKE_MATCH_1}")
    list(APPEND resources "${type}:${id}")
  endif()
endforeach()
# 24 manifest, 16 version, 14 icon group, 2 bitmap.
foreach(wanted 24:1 16:1 14:101 14:102 14:103 14:200 2:101 2:102 2:111 2:112 2:113 2:114)
  if(NOT wanted IN_LIST resources)
    message(FATAL_ERROR "resource ${wanted} (type:number) is missing; found ${resources}")
  endif()
endforeach()

file(STRINGS ${EXE} manifest REGEX "requireAdministrator|PerMonitorV2|Microsoft\\.Windows\\.Common-Controls")
foreach(wanted requireAdministrator PerMonitorV2 Microsoft.Windows.Common-Controls)
  string(FIND "${manifest}" "${wanted}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the manifest does not state ${wanted}")
  endif()
endforeach()

# Only whole strings that can matter are kept: other bytes of the file decode to stray brackets, which would
# spoil a CMake list.
file(STRINGS ${EXE} wide ENCODING UTF-16LE REGEX "^(FileVersion|ProductVersion|[0-9]+\\.[0-9]+\\.[0-9]+)$")
foreach(wanted FileVersion ProductVersion ${VERSION})
  if(NOT wanted IN_LIST wide)
    message(FATAL_ERROR "the version resource lacks ${wanted}")
  endif()
endforeach()
message(STATUS "velmora.exe ${VERSION}, ${size} bytes, stripped: system DLLs only, manifest, version and pictures present")
