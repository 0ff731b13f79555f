# Helpers shared by every subsystem's CMakeLists.txt.

# tamber_library(NAME SOURCES... [DEPS libs...])
# One static library per subsystem folder; its headers are included as "folder/File.h".
function(tamber_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_SOURCES)
    # A folder whose sources are still to come: headers only.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# tamber_test(NAME SOURCES... [DEPS libs...] [LABELS labels...])
# A GoogleTest executable registered with ctest; it runs in the build's run folder
# so that relative paths such as res/ resolve as they do for the program.
function(tamber_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    TAMBER_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TAMBER_RUN_DIR="${TAMBER_RUN_DIR}")
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${TAMBER_RUN_DIR})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
  # The OpenGL drivers a window test loads keep allocations until exit and are
  # unloaded before the leak report can name them; memory errors are still caught.
  if(TAMBER_SANITIZE AND "ui" IN_LIST ARG_LABELS)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
  endif()
endfunction()

# tamber_test_name(OUT PREFIX SOURCE): the test name for one *Test.cpp file of a
# folder of test programs, "WindowSpyTest.cpp" with prefix "tools" giving
# "tools_window_spy_test".
function(tamber_test_name out prefix source)
  get_filename_component(name ${source} NAME_WE)
  string(REGEX REPLACE "Test$" "" short ${name})
  string(REGEX REPLACE "([a-z])([A-Z])" "\\1_\\2" short ${short})
  string(TOLOWER ${short} short)
  set(${out} ${prefix}_${short}_test PARENT_SCOPE)
endfunction()
