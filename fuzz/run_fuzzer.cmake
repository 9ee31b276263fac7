# One bounded fuzzing run for CTest: a fresh working corpus next to the seeds
# (libFuzzer writes what it finds into the first directory, never into the
# source tree), a fixed seed, a bounded number of runs and a time cap.
#   cmake -DFUZZER=<program> -DWORK=<dir> -DSEEDS=<dir> -DARTIFACTS=<dir/> [-DOPTIONS=...]
#         -P run_fuzzer.cmake

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK} ${ARTIFACTS})
get_filename_component(name ${FUZZER} NAME)

execute_process(
  COMMAND ${FUZZER} -seed=1 -runs=20000 -max_len=4096 -len_control=0 -max_total_time=25 -print_final_stats=1
          ${OPTIONS} -artifact_prefix=${ARTIFACTS}${name}- ${WORK} ${SEEDS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${name} failed (${result}); the input that broke it is in ${ARTIFACTS}")
endif()
