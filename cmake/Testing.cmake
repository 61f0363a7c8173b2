# pellory_register_gtest(target [EACH_CASE] [SERIAL] [COST seconds] [ENVIRONMENT vars...])
# registers a GoogleTest program with CTest. By default the program is one
# CTest test: it runs once, its cases one after another in one process, and
# writes what each case did to test-results/<target>.xml, which
# scripts/test.sh reads case by case. Starting a process a case cost more
# than most cases (a Qt application, the machine's fonts). EACH_CASE makes
# every case a CTest test of its own, for the long programs whose cases
# should spread over the cores. COST: about how long the program takes, so
# that the long ones start first. SERIAL: runs alone.
function(pellory_register_gtest target)
  cmake_parse_arguments(T "EACH_CASE;SERIAL" "COST" "ENVIRONMENT" ${ARGN})
  if(T_EACH_CASE)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}" RUN_SERIAL ${T_SERIAL})
    return()
  endif()
  add_test(NAME ${target}
           COMMAND ${target} --gtest_output=xml:${CMAKE_BINARY_DIR}/test-results/${target}.xml)
  set_tests_properties(${target} PROPERTIES RUN_SERIAL ${T_SERIAL} LABELS gtest)
  if(T_ENVIRONMENT)
    set_tests_properties(${target} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
  if(T_COST)
    set_tests_properties(${target} PROPERTIES COST ${T_COST})
  endif()
endfunction()
