# Finds OpenGL, GLU, freeglut and friends and wraps them in a few interface targets:
#   nightgrid_gl_api       headers, GLU and freeglut, but no choice of GL implementation
#   nightgrid_gl_offscreen OSMesa, for tests and the renderer (listed ahead of libGL so its gl* entry
#                          points are the ones every call reaches)
#   nightgrid_gl_x11       libGL with GLX and Xlib, for the Linux saver
if(WIN32)
    # The Windows build provides these in cmake/mingw-w64-i686.cmake.
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
