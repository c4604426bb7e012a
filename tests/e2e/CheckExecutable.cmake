# Checks velmora.exe as it ships (EXE, read with OBJDUMP; VERSION is the expected 1.2.N):
# - it imports only from DLLs that Windows always takes from System32 (the KnownDLLs, and comctl32, which the
#   manifest takes from the side-by-side store), so that no DLL beside it is loaded in their stead, and its
#   load configuration asks for its imports from System32 alone (dependent-load flags);
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

# ntdll is in every process before the program. Not here, though they ship with Windows: uxtheme, version,
# winmm, windowscodecs, shcore, wtsapi32 and the like, which a DLL of the same name beside the program would
# replace.
set(system_dlls ntdll kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 shlwapi comdlg32 msvcrt combase
                imm32 rpcrt4 sechost setupapi ws2_32 psapi comctl32)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "no import table found")
endif()
set(foreign "")
foreach(line IN LISTS imports)
  string(REGEX REPLACE "DLL Name: ([^ \r]+).*" "\\1" dll "${line}")
  string(TOLOWER "${dll}" dll)
  string(REGEX REPLACE "\\.dll$" "" base "${dll}")
  # The universal C runtime's API sets are part of Windows 10 and later, resolved by the loader, never searched.
  if(NOT base IN_LIST system_dlls AND NOT base MATCHES "^api-ms-win-(crt|core)-")
    list(APPEND foreign ${dll})
  endif()
endforeach()
if(foreign)
  message(FATAL_ERROR "velmora.exe imports DLLs that Windows may take from its folder: ${foreign}")
endif()

# objdump locates the load configuration ("Entry a <address> <size> Load Configuration Directory") but does not
# decode it: its dependent-load flags are the 16 bits at offset 78, LOAD_LIBRARY_SEARCH_SYSTEM32 (0x800).
if(NOT dump MATCHES "ImageBase[ \t]+([0-9a-fA-F]+)")
  message(FATAL_ERROR "no image base found")
endif()
set(base ${CMAKE_MATCH_1})
if(NOT dump MATCHES "Entry a ([0-9a-fA-F]+) ([0-9a-fA-F]+) Load Configuration Directory")
  message(FATAL_ERROR "no load configuration directory found")
endif()
math(EXPR config_size "0x${CMAKE_MATCH_2}")
math(EXPR flags_at "0x${base} + 0x${CMAKE_MATCH_1} + 76" OUTPUT_FORMAT HEXADECIMAL)
math(EXPR flags_end "${flags_at} + 4" OUTPUT_FORMAT HEXADECIMAL)
execute_process(COMMAND ${OBJDUMP} -s --start-address=${flags_at} --stop-address=${flags_end} ${EXE}
                OUTPUT_VARIABLE bytes)
# One line of contents: the address, then the four bytes at offset 76 (CSDVersion, then the flags).
set(two_bytes "[0-9a-f][0-9a-f][0-9a-f][0-9a-f]")
if(config_size LESS 80 OR NOT bytes MATCHES "\n [0-9a-f]+ ${two_bytes}(${two_bytes})")
  message(FATAL_ERROR "the load configuration (${config_size} bytes) holds no dependent-load flags")
endif()
string(SUBSTRING ${CMAKE_MATCH_1} 0 2 low)
string(SUBSTRING ${CMAKE_MATCH_1} 2 2 high)
math(EXPR load_flags "0x${high}${low}")
if(NOT load_flags EQUAL 2048)
  message(FATAL_ERROR "the dependent-load flags are ${load_flags}, not LOAD_LIBRARY_SEARCH_SYSTEM32 (2048)")
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
message(STATUS "velmora.exe ${VERSION}, ${size} bytes, stripped: KnownDLLs only, imports from System32, manifest, "
               "version and pictures present")
