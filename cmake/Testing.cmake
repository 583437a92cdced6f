# Test helpers. Labels: unit (logic, no display), window (forms, offscreen),
# desktop (real X session under Xvfb + IceWM), wine (the Win32 layer under Wine).
include(GoogleTest)

# pq_add_gtest(NAME name LABEL unit|window SOURCES ... [LIBS ...])
# One GoogleTest program; each of its tests becomes a CTest test with the label.
function(pq_add_gtest)
  cmake_parse_arguments(T "" "NAME;LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  pq_warnings(${T_NAME})
  set(env "")
  if(T_LABEL STREQUAL "window")
    set(env "QT_QPA_PLATFORM=offscreen")
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${T_LABEL} ENVIRONMENT "${env}" TIMEOUT 120)
endfunction()

# pq_add_desktop_test(NAME name SCRIPT path [TIMEOUT s] [ARGS arg...])
# A bash script run inside its own private X session (see tests/desktop/session.sh).
# The script sees PQ_BUILD_DIR, PQ_SOURCE_DIR, PELLWICK and QUISTEL.
function(pq_add_desktop_test)
  cmake_parse_arguments(T "" "NAME;SCRIPT;TIMEOUT" "ARGS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${T_NAME}
    COMMAND bash ${T_SCRIPT} ${T_ARGS})
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS desktop
    TIMEOUT ${T_TIMEOUT}
    SKIP_RETURN_CODE 77
    ENVIRONMENT "PQ_BUILD_DIR=${CMAKE_BINARY_DIR};PQ_SOURCE_DIR=${CMAKE_SOURCE_DIR};PELLWICK=$<TARGET_FILE:pellwick>;QUISTEL=$<TARGET_FILE:quistel>;PQ_ARTIFACTS=${CMAKE_BINARY_DIR}/artifacts")
endfunction()
