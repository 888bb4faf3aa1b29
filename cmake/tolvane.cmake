# Small helpers shared by the component folders.

# tolvane_portable_library(NAME DIR): a static library of every .cpp file in DIR
# (not its win32/ subfolder); the portable core of a component.
function(tolvane_portable_library name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# tolvane_windows_binary(TARGET): static runtime, no "lib" prefix on DLLs, and a
# check after linking that only system DLLs are imported.
function(tolvane_windows_binary target)
  set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "")
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

# tolvane_native_test(NAME SOURCES... LIBS ...): a GoogleTest program registered with ctest.
function(tolvane_native_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "TOLVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
