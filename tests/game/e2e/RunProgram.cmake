# Runs PROGRAM -play -demofile=DEMO and checks its exit status (a crash gives
# no status and fails) and, when EXPECT_TEXT is given, that its error output
# says it. The program runs inside a folder of its own, removed afterwards.
include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/TestFolder.cmake)
lumo_make_test_folder(folder)
execute_process(COMMAND ${PROGRAM} -play -demofile=${DEMO}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  TIMEOUT 120)
file(REMOVE_RECURSE "${folder}")
if(NOT "${status}" STREQUAL "${EXPECT_STATUS}")
  message(FATAL_ERROR "exit status ${status}, expected ${EXPECT_STATUS}\n${out}\n${err}")
endif()
if(DEFINED EXPECT_TEXT)
  string(FIND "${err}" "${EXPECT_TEXT}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the output does not say: ${EXPECT_TEXT}\n${err}")
  endif()
endif()
