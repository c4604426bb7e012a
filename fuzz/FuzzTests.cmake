# The scenario fuzzer starts from scenario files that scntool writes from the fixture texts, and runs for a
# minute under AddressSanitizer and UBSan.
add_executable(scntool_fuzz_seeds ${CMAKE_SOURCE_DIR}/tools/scntool/Scntool.cpp
                                  ${CMAKE_SOURCE_DIR}/tools/scntool/ScntoolPosix.cpp)
target_link_libraries(scntool_fuzz_seeds PRIVATE velmora_core_fuzz)
target_compile_options(scntool_fuzz_seeds PRIVATE ${VELMORA_WARNINGS})

set(VELMORA_SCENARIO_FUZZ_DIR ${CMAKE_CURRENT_BINARY_DIR}/scenario-fuzz)
file(MAKE_DIRECTORY ${VELMORA_SCENARIO_FUZZ_DIR})
add_test(NAME ScenarioFuzzer
         COMMAND sh -c "rm -rf seeds corpus && mkdir seeds corpus && for t in \"$0\"/*.txt; do \"$1\" build \"$t\" -o seeds/$(basename \"$t\" .txt).SCN || exit 1; done && \"$2\" -max_total_time=60 -timeout=10 -print_final_stats=1 corpus seeds"
                 ${CMAKE_SOURCE_DIR}/tests/fixtures/scenarios $<TARGET_FILE:scntool_fuzz_seeds>
                 $<TARGET_FILE:ScenarioFuzzer>
         WORKING_DIRECTORY ${VELMORA_SCENARIO_FUZZ_DIR})
set_tests_properties(ScenarioFuzzer PROPERTIES LABELS fuzz TIMEOUT 150)

# The start-up parsers (command line, "velmora.ini", language files) start from nothing.
set(VELMORA_STARTUP_FUZZ_DIR ${CMAKE_CURRENT_BINARY_DIR}/startup-fuzz)
file(MAKE_DIRECTORY ${VELMORA_STARTUP_FUZZ_DIR})
add_test(NAME StartupInputFuzzer
         COMMAND sh -c "rm -rf corpus && mkdir corpus && \"$0\" -max_total_time=30 -timeout=10 -print_final_stats=1 corpus"
                 $<TARGET_FILE:StartupInputFuzzer>
         WORKING_DIRECTORY ${VELMORA_STARTUP_FUZZ_DIR})
set_tests_properties(StartupInputFuzzer PROPERTIES LABELS fuzz TIMEOUT 90)
