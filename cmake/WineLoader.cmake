# Read by ctest before it runs the Windows tests. Where this machine's kernel cannot start 32-bit programs, the
# tests go through Wine's 64-bit loader instead of failing at their first start, and VELMORA_NO_32BIT says why to
# the tests that play 32-bit installers, which skip then rather than fail for a reason that is not theirs.
execute_process(COMMAND wine --version RESULT_VARIABLE wine_status OUTPUT_QUIET ERROR_QUIET)
if(NOT wine_status EQUAL 0 AND EXISTS /usr/lib/wine/wine64)
  execute_process(COMMAND /usr/lib/wine/wine64 --version RESULT_VARIABLE wine64_status OUTPUT_QUIET ERROR_QUIET)
  if(wine64_status EQUAL 0)
    set(ENV{PATH} "${CMAKE_CURRENT_LIST_DIR}/wine64-only:$ENV{PATH}")
    set(ENV{VELMORA_NO_32BIT} "this machine cannot start 32-bit programs (Wine's 32-bit loader fails: ${wine_status})")
    message(NOTICE "$ENV{VELMORA_NO_32BIT}: the tests that play 32-bit installers are skipped")
  endif()
endif()
