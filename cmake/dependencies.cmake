# Finds OpenGL, GLU, freeglut and friends and wraps them in a few interface targets:
#   nightgrid_gl_api       headers, GLU and freeglut, but no choice of GL implementation
#   nightgrid_gl_offscreen OSMesa, for tests and the renderer (listed ahead of libGL so its gl* entry
#                          points are the ones every call reaches)
#   nightgrid_gl_x11       libGL with GLX and Xlib, for the Linux saver
# The Windows cross build has nightgrid_gl_api (opengl32, glu32, static freeglut) and nightgrid_win32 instead.
if(WIN32)
    # The Windows cross build (cmake/mingw-w64-i686.cmake): the system's own opengl32 and glu32, and the
    # static freeglut that scripts/build-freeglut-windows puts into the dependency cache. There is no
    # OSMesa, libpng or X11 there, so only nightgrid_gl_api and the shell's Win32 libraries exist.
    set(NIGHTGRID_WIN_DEPS ${CMAKE_SOURCE_DIR}/build-win-deps/prefix CACHE PATH
        "Windows dependency cache (static freeglut, GoogleTest)")
    find_library(NIGHTGRID_FREEGLUT_STATIC freeglut_static PATHS ${NIGHTGRID_WIN_DEPS}/lib NO_DEFAULT_PATH
        NO_CMAKE_FIND_ROOT_PATH)
    # Packages in the cache (GoogleTest's config) are found like the toolchain's own.
    list(APPEND CMAKE_FIND_ROOT_PATH ${NIGHTGRID_WIN_DEPS})
    if(NOT NIGHTGRID_FREEGLUT_STATIC)
        message(FATAL_ERROR "No static freeglut in ${NIGHTGRID_WIN_DEPS}: run scripts/build-freeglut-windows")
    endif()
    # Windows headers define min and max as macros unless told not to; M_PI needs asking for with a strict
    # -std=c++17, where glibc gives it anyway.
    add_compile_definitions(NOMINMAX _USE_MATH_DEFINES)

    add_library(nightgrid_gl_api INTERFACE)
    # FREEGLUT_STATIC: without it the header declares __stdcall DLL imports that the static library lacks.
    target_compile_definitions(nightgrid_gl_api INTERFACE FREEGLUT_STATIC)
    target_include_directories(nightgrid_gl_api SYSTEM INTERFACE ${NIGHTGRID_WIN_DEPS}/include)
    # freeglut first: it needs winmm (timeGetTime), gdi32 and opengl32 after it.
    target_link_libraries(nightgrid_gl_api INTERFACE ${NIGHTGRID_FREEGLUT_STATIC} glu32 opengl32 winmm gdi32)

    # Tests and their discovery run under Wine, in a prefix of this build's own (scripts/test-windows makes it
    # afresh for every run).
    set(NIGHTGRID_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix the Windows tests run in")
    configure_file(${CMAKE_SOURCE_DIR}/tests/windows/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY)
    if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
    endif()

    # What the shell's real Win32 side calls: windows and messages, GDI and pixel formats, the registry.
    add_library(nightgrid_win32 INTERFACE)
    target_link_libraries(nightgrid_win32 INTERFACE user32 gdi32 advapi32 kernel32 opengl32)
    return()
endif()

find_package(PkgConfig REQUIRED)
pkg_check_modules(GLU REQUIRED IMPORTED_TARGET glu)
pkg_check_modules(GLUT REQUIRED IMPORTED_TARGET glut)
pkg_check_modules(OSMESA REQUIRED IMPORTED_TARGET osmesa)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
find_package(X11 REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)

add_library(nightgrid_gl_api INTERFACE)
target_link_libraries(nightgrid_gl_api INTERFACE PkgConfig::GLU PkgConfig::GLUT m)

add_library(nightgrid_gl_offscreen INTERFACE)
target_link_libraries(nightgrid_gl_offscreen INTERFACE PkgConfig::OSMESA)

add_library(nightgrid_gl_x11 INTERFACE)
target_link_libraries(nightgrid_gl_x11 INTERFACE OpenGL::OpenGL OpenGL::GLX X11::X11)
