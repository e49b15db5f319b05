# Writes the CTest entries of one test program, one per GoogleTest suite:
#   cmake -D LAYER=... -D PROGRAM=... -D WINE_RUN=... -D WINE_PREFIX=... -D WORKING_DIRECTORY=...
#         -D OUT=... -P list_suites.cmake
# The suites come from the program's own --gtest_list_tests, run under Wine.  A suite
# that its source marks with PURE_SUITE (tests/suite_labels.h), as the program's
# --list-pure-suites prints them (one that opens no window), is labelled `pure`; any
# other is labelled `display`.
cmake_minimum_required(VERSION 3.20)
execute_process(COMMAND ${WINE_RUN} --prefix ${WINE_PREFIX} ${PROGRAM} --gtest_list_tests
                OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --gtest_list_tests failed (${rc}):\n${listing}")
endif()
execute_process(COMMAND ${WINE_RUN} --prefix ${WINE_PREFIX} ${PROGRAM} --list-pure-suites
                OUTPUT_VARIABLE pure_listing RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --list-pure-suites failed (${rc}):\n${pure_listing}")
endif()
string(REGEX REPLACE "[\r\n]+" ";" pure "${pure_listing}")
list(REMOVE_ITEM pure "")
string(REPLACE "\n" ";" lines "${listing}")
set(suites "")
foreach(line IN LISTS lines)
  if(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)\\.")
    list(APPEND suites ${CMAKE_MATCH_1})
  endif()
endforeach()
if(NOT suites)
  message(FATAL_ERROR "${PROGRAM} lists no test suites:\n${listing}")
endif()
foreach(suite IN LISTS pure)
  if(NOT suite IN_LIST suites)
    message(FATAL_ERROR "${PROGRAM} has no suite ${suite} (marked pure)")
  endif()
endforeach()

set(text "")
foreach(suite IN LISTS suites)
  set(name "${LAYER}.${suite}")
  if(suite IN_LIST pure)
    set(labels pure)
  else()
    set(labels display)
  endif()
  string(APPEND text
    "add_test([=[${name}]=] \"${WINE_RUN}\" --prefix \"${WINE_PREFIX}\" \"${PROGRAM}\" [=[--gtest_filter=${suite}.*]=])\n"
    "set_tests_properties([=[${name}]=] PROPERTIES WORKING_DIRECTORY \"${WORKING_DIRECTORY}\" "
    "LABELS \"${LAYER};${labels}\" TIMEOUT 1200)\n")
endforeach()
file(WRITE ${OUT} "${text}")
