# Windows tree (mingw-w64): everything, and the tests that run under Wine.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00
                        WINVER=0x0A00)
# No DLL beside the executables: the C and C++ runtimes are linked in.
set(VP_STATIC_LINK -static -static-libgcc -static-libstdc++)

file(GLOB VP_PLATFORM_SOURCES CONFIGURE_DEPENDS src/platform/*.cpp)
file(GLOB VP_UI_SOURCES CONFIGURE_DEPENDS src/ui/*.cpp)
file(GLOB VP_APP_SOURCES CONFIGURE_DEPENDS src/app/*.cpp)
list(FILTER VP_APP_SOURCES EXCLUDE REGEX "/main\\.cpp$")

add_library(vpplatform STATIC ${VP_PLATFORM_SOURCES})
target_link_libraries(vpplatform PUBLIC vpcore version ole32 oleaut32 uuid shell32 shlwapi
                      advapi32 comdlg32 wininet user32 gdi32)
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
configure_file(src/app/res/app.rc ${CMAKE_BINARY_DIR}/generated/res/app.rc @ONLY)
file(COPY src/app/res/app.manifest DESTINATION ${CMAKE_BINARY_DIR}/generated/res)
set_source_files_properties(${CMAKE_BINARY_DIR}/generated/res/app.rc PROPERTIES
  OBJECT_DEPENDS "${VP_ICONS};${CMAKE_SOURCE_DIR}/src/app/res/app.manifest")

add_executable(VelmorPasquill WIN32 src/app/main.cpp ${CMAKE_BINARY_DIR}/generated/res/app.rc)
target_include_directories(VelmorPasquill PRIVATE src)
target_link_libraries(VelmorPasquill PRIVATE vpapp)
target_link_options(VelmorPasquill PRIVATE ${VP_STATIC_LINK} -municode)

# GoogleTest, compiled from Debian's source package for this toolchain.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(cmake/wintests.cmake)
