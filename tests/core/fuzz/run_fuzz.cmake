# cmake -DFUZZER=<exe> -DSEEDS=<seed dir> -DWORK=<dir> -DRUNS=<n> -DSECONDS=<s> -P run_fuzz.cmake
# libFuzzer adds what it finds to its first corpus directory, so that is a
# fresh one under WORK; the seed directory is only read.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
execute_process(
  COMMAND ${FUZZER} -seed=1 -runs=${RUNS} -max_total_time=${SECONDS} -timeout=10
          -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus ${SEEDS}
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the input is in ${WORK}/artifacts")
endif()
