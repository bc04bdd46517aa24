# corvanta_add_test(NAME SOURCES a.cpp ... [LIBS lib ...] [QT] [LABELS label ...] [TIMEOUT seconds])
# The one way to register a test: one GoogleTest executable per call, each of
# its tests a CTest test. QT gives it the Qt test main (a QApplication on the
# offscreen platform, the private runtime folder and, for Qt WebEngine as root,
# the switched-off sandbox) and the label "qt"; the others get the plain main.
# A test labelled "qt" (given QT, or starting a Qt program) stays out of the
# sanitizer run; every other test is built by the target corvanta_plain_tests.
function(corvanta_add_test name)
  cmake_parse_arguments(T "QT" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(T_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "corvanta_add_test(${name}): unknown arguments ${T_UNPARSED_ARGUMENTS}")
  endif()
  add_executable(${name} ${T_SOURCES})
  if(T_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE corvanta_test_qtmain)
    list(APPEND T_LABELS qt)
  else()
    target_link_libraries(${name} PRIVATE corvanta_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} corvanta_warnings)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(props TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    list(APPEND props LABELS "${T_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ${props})
  if(NOT "qt" IN_LIST T_LABELS)
    set_property(GLOBAL APPEND PROPERTY CORVANTA_PLAIN_TESTS ${name})
  endif()
endfunction()
