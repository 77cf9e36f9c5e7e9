# Warnings are errors for Kinovia's own code; third-party headers come in as system headers.
# GCC 12's optimiser warns falsely inside the standard library (restrict, maybe-uninitialized,
# array and string bounds); those stay warnings in optimised builds.
function(kinovia_own_code target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<NOT:$<CONFIG:Debug>>>:-Wno-error=restrict -Wno-error=maybe-uninitialized -Wno-error=array-bounds -Wno-error=stringop-overflow -Wno-error=stringop-overread>)
endfunction()

# One folder's sources, compiled once into an object library whose objects join a layer library:
# kinovia_folder(name LAYER kinovia_logic SOURCES a.cpp b.h DEPS lib...)
function(kinovia_folder name)
  cmake_parse_arguments(ARG "" "LAYER" "SOURCES;DEPS" ${ARGN})
  add_library(${name} OBJECT ${ARG_SOURCES})
  kinovia_own_code(${name})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(ARG_LAYER)
    target_link_libraries(${ARG_LAYER} PRIVATE ${name})
  endif()
endfunction()

set(KINOVIA_TEST_DATA_DIR ${CMAKE_SOURCE_DIR}/tests/data)

# Declares one GoogleTest executable: kinovia_add_gtest(name SOURCES a.cpp b.cpp LIBS lib...)
function(kinovia_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  kinovia_own_code(${name})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE KINOVIA_TEST_DATA_DIR="${KINOVIA_TEST_DATA_DIR}"
    KINOVIA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  # gtest_discover_tests passes only a list's first entry as the ENVIRONMENT property; run the
  # tests through "cmake -E env" instead, so every entry reaches them.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "${CMAKE_COMMAND};-E;env;${KINOVIA_TEST_ENV}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# Declares one Qt Test executable run on the offscreen platform.
function(kinovia_add_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  kinovia_own_code(${name})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kinovia_gui Qt6::Test)
  target_compile_definitions(${name} PRIVATE KINOVIA_TEST_DATA_DIR="${KINOVIA_TEST_DATA_DIR}"
    KINOVIA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${KINOVIA_TEST_ENV}")
endfunction()

# Declares one Google Benchmark executable.
function(kinovia_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  kinovia_own_code(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
