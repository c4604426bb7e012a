# The fuzzers need clang and libFuzzer while the host build uses g++: the native build builds them as a
# nested clang build in build/<preset>/fuzz and runs its tests (label fuzz) with its own.
find_program(VELMORA_CLANGXX clang++)
if(NOT VELMORA_CLANGXX)
  message(WARNING "clang++ not found: the fuzzers are not built")
  return()
endif()
include(ExternalProject)
ExternalProject_Add(velmora_fuzzers
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
  CMAKE_GENERATOR Ninja
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=${VELMORA_CLANGXX} -DVELMORA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)
# The nested build writes its test list when it is first built; ctest reads it from there.
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/fuzz/fuzz/CTestTestfile.cmake)
