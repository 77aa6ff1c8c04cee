# ov_library(NAME SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# One static library per src/ folder; headers are included as "folder/Name.h".
function(ov_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${A_DEPS} PRIVATE ${A_PRIVATE_DEPS})
endfunction()

# ov_test(NAME SOURCES ... DEPS ...): a GoogleTest program whose cases ctest discovers.
function(ov_test name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${A_DEPS} ov_testsupport GTest::gtest_main GTest::gmock)
  # Tests log into the build tree, never into the user's state folder.
  # The environment goes through `cmake -E env` as the test launcher: a list of
  # variables does not survive gtest_discover_tests' PROPERTIES.
  set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR
    ${CMAKE_COMMAND} -E env OV_SOURCE_DIR=${PROJECT_SOURCE_DIR}
    XDG_STATE_HOME=${PROJECT_BINARY_DIR}/test-state ${A_ENVIRONMENT})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
