# Windows tree (mingw-w64): everything, and the tests that run under Wine.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00
                        WINVER=0x0A00)
# No DLL beside the executables: the C and C++ runtimes are linked in.
if(MSVC)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  set(VP_STATIC_LINK)
  set(VP_UNICODE_ENTRY)
else()
  set(VP_STATIC_LINK -static -static-libgcc -static-libstdc++)
  set(VP_UNICODE_ENTRY -municode)
endif()

file(GLOB VP_PLATFORM_SOURCES CONFIGURE_DEPENDS src/platform/*.cpp)
file(GLOB VP_UI_SOURCES CONFIGURE_DEPENDS src/ui/*.cpp)
file(GLOB VP_APP_SOURCES CONFIGURE_DEPENDS src/app/*.cpp)
list(FILTER VP_APP_SOURCES EXCLUDE REGEX "/main\\.cpp$")

# comdlg32 and ole32 serve only the file and Find dialogs and the desktop shortcut, wininet
# only the news check. Loaded at their first use, they stay out of every start, and so does what they
# pull in (the print spooler, COM's runtime, sockets). The delay-load libraries list every
# function of the toolchain's own ones. No library whose functions take floating-point
# arguments goes here: mingw-w64's delay-load thunk does not keep the XMM registers, so the
# first call of VariantTimeToSystemTime (oleaut32) got a zero date.
set(VP_DELAYED comdlg32 ole32 wininet)
find_program(VP_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool dlltool)
if(MINGW AND VP_DLLTOOL AND CMAKE_NM)
  foreach(dll ${VP_DELAYED})
    find_library(VP_IMPLIB_${dll} NAMES lib${dll}.a)
    execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${VP_IMPLIB_${dll}}
                    OUTPUT_VARIABLE symbols ERROR_QUIET)
    string(REGEX MATCHALL " T [A-Za-z_][A-Za-z0-9_]*" functions "${symbols}")
    list(JOIN functions "" functions)
    string(REPLACE " T " "\n" functions "${functions}")
    set(def ${CMAKE_BINARY_DIR}/generated/${dll}_delay.def)
    file(WRITE ${def} "LIBRARY ${dll}.dll\nEXPORTS${functions}\n")
    set(lib ${CMAKE_BINARY_DIR}/generated/lib${dll}_delay.a)
    add_custom_command(OUTPUT ${lib} COMMAND ${VP_DLLTOOL} -d ${def} -y ${lib} DEPENDS ${def})
    list(APPEND VP_DELAY_LIBS ${lib})
  endforeach()
  add_custom_target(vp_delay_libs DEPENDS ${VP_DELAY_LIBS})
  set(VP_SYSTEM_LIBS ${VP_DELAY_LIBS})
elseif(MSVC)
  set(VP_SYSTEM_LIBS ${VP_DELAYED} delayimp)
  add_link_options(/DELAYLOAD:comdlg32.dll /DELAYLOAD:ole32.dll /DELAYLOAD:wininet.dll)
else()
  set(VP_SYSTEM_LIBS ${VP_DELAYED})
endif()

add_library(vpplatform STATIC ${VP_PLATFORM_SOURCES})
target_link_libraries(vpplatform PUBLIC vpcore version ${VP_SYSTEM_LIBS} uuid shell32
                      shlwapi advapi32 user32 gdi32)
if(TARGET vp_delay_libs)
  add_dependencies(vpplatform vp_delay_libs)
endif()
add_library(vpui STATIC ${VP_UI_SOURCES})
target_link_libraries(vpui PUBLIC vpplatform comctl32 uxtheme msimg32)
add_library(vpapp STATIC ${VP_APP_SOURCES})
target_link_libraries(vpapp PUBLIC vpui)

# The program's pictures, drawn by the repository's own tool.
set(VP_ICON_DIR ${CMAKE_BINARY_DIR}/generated/icons)
set(VP_ICONS ${VP_ICON_DIR}/app.ico ${VP_ICON_DIR}/about.ico)
foreach(i RANGE 7)
  list(APPEND VP_ICONS ${VP_ICON_DIR}/tray${i}.ico)
endforeach()
add_custom_command(OUTPUT ${VP_ICONS}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_icon.py ${VP_ICON_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icon.py)
set(ICON_DIR ${VP_ICON_DIR})
# Both carry the version from project().
configure_file(src/app/res/app.rc ${CMAKE_BINARY_DIR}/generated/res/app.rc @ONLY)
configure_file(src/app/res/app.manifest ${CMAKE_BINARY_DIR}/generated/res/app.manifest @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/generated/res/app.rc PROPERTIES
  OBJECT_DEPENDS "${VP_ICONS};${CMAKE_BINARY_DIR}/generated/res/app.manifest")

add_executable(VelmorPasquill WIN32 src/app/main.cpp ${CMAKE_BINARY_DIR}/generated/res/app.rc)
target_include_directories(VelmorPasquill PRIVATE src)
target_link_libraries(VelmorPasquill PRIVATE vpapp)
target_link_options(VelmorPasquill PRIVATE ${VP_STATIC_LINK} ${VP_UNICODE_ENTRY})

# GoogleTest: compiled from its sources for this toolchain (Debian's source package when
# cross-compiling), else an installed one (MSYS2's gtest package on Windows).
set(VP_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build with the program")
if(EXISTS ${VP_GTEST_SOURCE}/CMakeLists.txt)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VP_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(VP_GTEST_LIBS gtest gtest_main)
else()
  find_package(GTest)
  if(GTest_FOUND)
    set(VP_GTEST_LIBS GTest::gtest GTest::gtest_main)
  else()
    message(STATUS "GoogleTest not found: the Windows tests are not built")
  endif()
endif()

include(cmake/wintests.cmake)
