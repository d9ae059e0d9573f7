# Runs the settings loader's fuzz target for SECONDS over its corpus: the seed
# files of fuzz/corpus/settings and the inputs earlier runs kept beside the
# target. Prints libFuzzer's summary; fails when it stopped on a finding,
# which it writes beside the target.
#   cmake -DFUZZER=<settings_load_fuzz> -DSECONDS=<seconds> -P cmake/run-fuzz.cmake
get_filename_component(dir "${FUZZER}" DIRECTORY)
set(corpus "${dir}/corpus")
set(log "${dir}/last-run.log")
file(MAKE_DIRECTORY "${corpus}")
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
execute_process(COMMAND "${FUZZER}" -max_total_time=${SECONDS} -max_len=8192 -timeout=10 -print_final_stats=1
                        "-artifact_prefix=${dir}/" "${corpus}" "${CMAKE_CURRENT_LIST_DIR}/../fuzz/corpus/settings"
                WORKING_DIRECTORY "${dir}" RESULT_VARIABLE rc OUTPUT_FILE "${log}" ERROR_FILE "${log}")
file(STRINGS "${log}" summary REGEX "^(stat::number_of_executed_units|==[0-9]+==|SUMMARY|settings fuzz|artifact_prefix)")
foreach(line IN LISTS summary)
  message("${line}")
endforeach()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "settings fuzz: the fuzzer stopped (${rc}); its whole output is in ${log}")
endif()
