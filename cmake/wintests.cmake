# Tests under Wine: one GoogleTest executable, fixture executables, and the
# end-to-end scripts that drive the real program.
# Under Wine the report's path is a Linux one, reached through Wine's drive Z:.
if(CMAKE_CROSSCOMPILING)
  set(VP_RESULTS Z:${CMAKE_SOURCE_DIR}/build/results)
else()
  set(VP_RESULTS ${CMAKE_SOURCE_DIR}/build/results)
endif()
if(VP_GTEST_LIBS)
  file(GLOB VP_WIN_TESTS CONFIGURE_DEPENDS tests/win/*.cpp)
  add_executable(vp_win_tests ${VP_WIN_TESTS} tests/win/res/tests.rc)
  target_include_directories(vp_win_tests PRIVATE tests/win)
  target_link_libraries(vp_win_tests PRIVATE vpapp ${VP_GTEST_LIBS} ws2_32)
  target_link_options(vp_win_tests PRIVATE ${VP_STATIC_LINK})
  add_test(NAME win_tests COMMAND vp_win_tests --gtest_output=xml:${VP_RESULTS}/win_tests.xml)
  set_tests_properties(win_tests PROPERTIES TIMEOUT 600)
endif()

# Executables whose version resources the tests read.
add_executable(vp_fixture_versioned tests/win/fixtures/empty_main.c tests/win/fixtures/versioned.rc)
add_executable(vp_fixture_plain tests/win/fixtures/empty_main.c)
foreach(t vp_fixture_versioned vp_fixture_plain)
  target_link_options(${t} PRIVATE ${VP_STATIC_LINK})
  if(TARGET vp_win_tests)
    add_dependencies(vp_win_tests ${t})
  endif()
endforeach()

# The small Win32 driver that end-to-end tests use to reach into the program's windows.
file(GLOB VP_DRIVER_SOURCES CONFIGURE_DEPENDS tests/e2e/driver/*.cpp)
add_executable(vp_driver ${VP_DRIVER_SOURCES})
target_link_libraries(vp_driver PRIVATE vpplatform)
target_link_options(vp_driver PRIVATE ${VP_STATIC_LINK} ${VP_UNICODE_ENTRY})

# They drive the program under Wine and Xvfb from Linux.
if(CMAKE_CROSSCOMPILING)
  file(GLOB VP_E2E_TESTS CONFIGURE_DEPENDS tests/e2e/test_*.sh)
endif()
foreach(script ${VP_E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e_${name} COMMAND bash ${script})
  # The fault level (crashes, a full disk, held files): ctest -L faults runs it alone.
  set(labels e2e)
  if(name MATCHES "^test_fault")
    list(APPEND labels faults)
  endif()
  set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 300 LABELS "${labels}"
    ENVIRONMENT "VP_BUILD=${CMAKE_BINARY_DIR};VP_SOURCE=${CMAKE_SOURCE_DIR}")
endforeach()

# Benchmarks under Wine print figures; they are not tests. One executable per file.
file(GLOB VP_WIN_BENCHES CONFIGURE_DEPENDS bench/win/*.cpp)
# The start-up floors, a bare window and the program's window tree made bare: none of our
# code, none of our libraries. The tree has the program's manifest.
list(FILTER VP_WIN_BENCHES EXCLUDE REGEX "/(bare_window|window_tree)\\.cpp$")
add_executable(vp_win_bare_window WIN32 bench/win/bare_window.cpp)
target_link_options(vp_win_bare_window PRIVATE ${VP_STATIC_LINK})
add_executable(vp_win_window_tree WIN32 bench/win/window_tree.cpp bench/win/window_tree.rc)
target_include_directories(vp_win_window_tree PRIVATE ${CMAKE_BINARY_DIR}/generated/res)
set_source_files_properties(bench/win/window_tree.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/generated/res/app.manifest)
target_link_libraries(vp_win_window_tree PRIVATE comctl32)
target_link_options(vp_win_window_tree PRIVATE ${VP_STATIC_LINK})
foreach(src ${VP_WIN_BENCHES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(vp_win_${name} ${src})
  target_include_directories(vp_win_${name} PRIVATE tests/win ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(vp_win_${name} PRIVATE vpapp)
  target_link_options(vp_win_${name} PRIVATE ${VP_STATIC_LINK})
endforeach()
