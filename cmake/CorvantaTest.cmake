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

# corvanta_add_qt_test(NAME SOURCES ... LIBS ...): a widget test with the Qt test main.
function(corvanta_add_qt_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE corvanta_test_qtmain ${T_LIBS} corvanta_warnings)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  # The Qt test main sets the offscreen platform, the private runtime folder
  # and, for Qt WebEngine as root, the switched-off sandbox itself.
  set(props TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    list(APPEND props LABELS "${T_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ${props})
endfunction()
