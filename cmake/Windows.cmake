# The Windows side: the ports' Win32 implementations, the windows, velmora.exe and the tests that run under Wine.

# Statically linked, so the program's import table names only DLLs that ship with Windows.
add_link_options(-static -static-libgcc -static-libstdc++)
# The program is copied onto discs and shares: optimised for size (nothing in it is hot enough to miss -O3), each
# function and datum in a section of its own so that the linker drops what nothing calls, and with line tables
# for the symbols file that goes beside the stripped program.
set(CMAKE_CXX_FLAGS_RELEASE "-Os -g1 -DNDEBUG")
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)

# GoogleTest from Debian's source package, built with MinGW.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Imported at load time: KnownDLLs, which Windows always takes from System32. Others (wtsapi32, shcore) would be
# looked for beside the program first; platform/win32/SystemLibrary.h loads them from System32 by name instead,
# and comctl32 too (platform/win32/CommonControls.h), which the manifest's dependency then takes from the
# side-by-side store. The imaging
# component (windowscodecs) comes through COM, which loads it by the path registered for its class.
set(VELMORA_WIN32_LIBS user32 gdi32 shell32 ole32 oleaut32 advapi32 shlwapi)

file(GLOB VELMORA_PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
add_library(velmora_platform STATIC ${VELMORA_PLATFORM_SOURCES})
target_include_directories(velmora_platform PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(velmora_platform PUBLIC velmora_core ${VELMORA_WIN32_LIBS})
target_compile_options(velmora_platform PRIVATE ${VELMORA_WARNINGS})

file(GLOB VELMORA_SHELL_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/app/win32/*.cpp
     ${CMAKE_SOURCE_DIR}/recording/win32/*.cpp
     ${CMAKE_SOURCE_DIR}/playback/win32/*.cpp
     ${CMAKE_SOURCE_DIR}/paths/win32/*.cpp
     ${CMAKE_SOURCE_DIR}/packages/win32/*.cpp
     ${CMAKE_SOURCE_DIR}/ui/win32/*.cpp
     ${CMAKE_SOURCE_DIR}/discs/win32/*.cpp)
list(REMOVE_ITEM VELMORA_SHELL_SOURCES ${CMAKE_SOURCE_DIR}/app/win32/WinMain.cpp
     ${CMAKE_SOURCE_DIR}/app/win32/LoadConfig.cpp)
add_library(velmora_shell STATIC ${VELMORA_SHELL_SOURCES})
target_link_libraries(velmora_shell PUBLIC velmora_platform)
target_compile_options(velmora_shell PRIVATE ${VELMORA_WARNINGS})

if(EXISTS ${CMAKE_SOURCE_DIR}/app/win32/WinMain.cpp)
  enable_language(RC)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -DVELMORA_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} -DVELMORA_VERSION_MINOR=${PROJECT_VERSION_MINOR} -DVELMORA_VERSION_BUILD=${VELMORA_BUILD} -c 65001")
  file(GLOB VELMORA_RC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc)
  add_executable(velmora WIN32 ${CMAKE_SOURCE_DIR}/app/win32/WinMain.cpp ${CMAKE_SOURCE_DIR}/app/win32/LoadConfig.cpp
                 ${VELMORA_RC})
  target_link_libraries(velmora PRIVATE velmora_shell)
  # Nothing refers to the load configuration but the image header, so the section collector would drop it.
  target_link_options(velmora PRIVATE -municode -Wl,--require-defined=_load_config_used)
  target_compile_options(velmora PRIVATE ${VELMORA_WARNINGS})
  # The program finds its language files beside itself. It ships stripped; its symbols stay in velmora.debug
  # beside it, which the stripped file names (.gnu_debuglink), so gdb and addr2line turn the addresses of a crash
  # dump into functions and lines.
  add_custom_command(TARGET velmora POST_BUILD
                     COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/language $<TARGET_FILE_DIR:velmora>/language
                     COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/set-load-config.sh ${CMAKE_NM} ${CMAKE_OBJDUMP} velmora.exe
                     COMMAND ${CMAKE_OBJCOPY} --only-keep-debug velmora.exe velmora.debug
                     COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=velmora.debug velmora.exe
                     WORKING_DIRECTORY $<TARGET_FILE_DIR:velmora>)
  include(${CMAKE_SOURCE_DIR}/cmake/Help.cmake)
  add_dependencies(velmora velmora_help)
endif()

include(GoogleTest)
# Registers the tests of a Wine-run gtest program under a label; discovery itself runs under Wine at test time.
# Tests named DISABLED_ are steps of a script's test, which runs them by name (record-and-replay.sh), and are
# left out here rather than listed as not run.
function(velmora_wine_tests target label)
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_FILTER -*.DISABLED_*
                       PROPERTIES LABELS ${label} FIXTURES_REQUIRED wine ${ARGN})
endfunction()

# ctest reads it before any test, so that Wine starts, or the 32-bit installers' tests skip, as this machine allows.
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_SOURCE_DIR}/cmake/WineLoader.cmake)

add_test(NAME wine-stop COMMAND sh -c "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix wineserver -k || true")
set_tests_properties(wine-stop PROPERTIES FIXTURES_CLEANUP wine LABELS "win32;e2e")

foreach(dir tests/fixtures tests/win32 tests/e2e)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${CMAKE_SOURCE_DIR}/${dir} ${CMAKE_BINARY_DIR}/${dir})
  endif()
endforeach()
