# musicdisk_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>])
# Builds one GoogleTest executable and registers each of its tests with CTest.
find_package(GTest REQUIRED)
include(GoogleTest)

function(musicdisk_add_test)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    # Under Wine every process start costs about a second: one ctest test per program, less
    # the tests that hold only on Linux (cmake/MusicdiskWindows.cmake says why for each).
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME} "--gtest_filter=-${MUSICDISK_WINE_EXCLUDED_TESTS}")
    set_tests_properties(${ARG_NAME} PROPERTIES LABELS "unit;wine" TIMEOUT 900)
    return()
  endif()
  gtest_discover_tests(${ARG_NAME} DISCOVERY_TIMEOUT 60
                       PROPERTIES LABELS unit)
endfunction()

# Tests that need an X display each get a virtual server of their own. xvfb-run's -a picks
# a display number by looking for a free one, and two tests starting together could pick the
# same; our wrapper lets the server choose (-displayfd) and takes xvfb-run's arguments.
find_program(XVFB_SERVER Xvfb)
if(XVFB_SERVER)
  set(XVFB_RUN "${PROJECT_SOURCE_DIR}/tests/support/xvfb_run.sh" CACHE FILEPATH
      "Runs a command on a virtual X server of its own" FORCE)
endif()
