# Small helpers shared by the component folders.

# tolvane_windows_binary(TARGET [TEST_PROGRAM]): static runtime, no "lib"
# prefix on DLLs, the import slots of what older Windows lacks answered at run
# time (common/win32/legacy_windows_imports.cpp), and a check after linking
# (scripts/check-imports.py with the lists in scripts/windows-api/): a
# deliverable imports only what Windows XP / Server 2003 export; a
# TEST_PROGRAM, which runs under Wine only, only system DLLs.
function(tolvane_windows_binary target)
  cmake_parse_arguments(B "TEST_PROGRAM" "" "" ${ARGN})
  set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "")
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  target_link_libraries(${target} PRIVATE legacy_windows_imports)
  set(level)
  if(B_TEST_PROGRAM)
    set(level --dlls-only)
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/check-imports.py ${level}
            --objdump ${CMAKE_OBJDUMP} $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

# tolvane_native_test(NAME [PREFIX P] SOURCES... LIBS ...): a GoogleTest program
# registered with ctest; PREFIX goes before every test's name (so that
# `ctest -R setup` finds the suite by its component).
function(tolvane_native_test name)
  cmake_parse_arguments(T "" "PREFIX" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 TEST_PREFIX "${T_PREFIX}"
                       PROPERTIES ENVIRONMENT "TOLVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
