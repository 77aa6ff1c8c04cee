# Parsing headers is most of the build: a widget file spends about 90 % of its
# compile time in the front end, most of it in Qt's and the standard library's
# headers. Each target therefore precompiles the heavy headers its files share.
# -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON builds without them, which also shows a
# file that forgot one of its own includes.
set(OV_PCH_STD <algorithm> <filesystem> <functional> <memory> <optional> <string> <string_view> <vector>)
set(OV_PCH_QT <QApplication> <QLabel> <QPainter> <QPushButton> <QString> <QTimer> <QWidget>)
set(OV_PCH_TEST <gtest/gtest.h> <gmock/gmock.h>)

# ov_library(NAME SOURCES ... [DEPS ...] [PRIVATE_DEPS ...] [PCH headers ...])
# One static library per src/ folder; headers are included as "folder/Name.h".
# A library exports only its own folder: its include dir holds one link named
# after the folder, so a header of a library it does not depend on is not found.
# PCH names heavy headers beyond the standard ones, such as ${OV_PCH_QT}.
function(ov_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;PRIVATE_DEPS;PCH" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_precompile_headers(${name} PRIVATE ${OV_PCH_STD} ${A_PCH})
  ov_export_folder(${name} ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_DEPS} PRIVATE ${A_PRIVATE_DEPS})
endfunction()

# ov_export_folder(TARGET FOLDER): TARGET and its users include FOLDER's headers
# as "<folder name>/Name.h", and nothing else of the tree FOLDER lies in.
function(ov_export_folder target folder)
  cmake_path(GET folder FILENAME folder_name)
  set(include_dir ${PROJECT_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${include_dir})
  file(CREATE_LINK ${folder} ${include_dir}/${folder_name} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${include_dir})
endfunction()

# ov_test(NAME SOURCES ... DEPS ... [PCH headers ...]): a GoogleTest program
# whose cases ctest discovers.
function(ov_test name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;ENVIRONMENT;PCH" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_precompile_headers(${name} PRIVATE ${OV_PCH_STD} ${OV_PCH_TEST} ${A_PCH})
  # The code under test keeps the build's optimisation. The tests' own code is
  # mostly assertion macros and matcher templates, which take twice as long to
  # compile optimised and run no faster; unoptimised, they step plainly in gdb.
  target_compile_options(${name} PRIVATE -O0)
  target_link_libraries(${name} PRIVATE ${A_DEPS} ov_testsupport GTest::gtest_main GTest::gmock)
  # As the program does, for the movie module it may load.
  set_target_properties(${name} PROPERTIES ENABLE_EXPORTS ON)
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
