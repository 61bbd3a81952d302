include(GoogleTest)

# billiards_test(<name> SOURCES ... LIBS ... [QT])
# One executable per unit under test. Cases are listed at test time, not at
# build time, so building never needs a display or a session bus.
# QT: main() creates a QApplication (GUI and widget tests).
function(billiards_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_QT)
    target_link_libraries(${name} PRIVATE test_main_qt)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120)
endfunction()
