# corvanta_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS l])
# One GoogleTest executable per call, registered with CTest test by test.
function(corvanta_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE corvanta_test_main ${T_LIBS} corvanta_warnings)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}")
endfunction()
