# Runs one fuzz target for SECONDS over the checked-in CORPUS, always from the
# same seed, so that a test run does not depend on luck. New inputs go
# into WORK, so the checked-in corpus stays as it is; a finding fails the test
# and is kept in WORK as the file the fuzzer names.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(
  COMMAND "${FUZZER}" -seed=1 -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=4096
          -artifact_prefix=${WORK}/ "${WORK}" "${CORPUS}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} fand einen Fehler (Ergebnis ${result}); siehe ${WORK}")
endif()
