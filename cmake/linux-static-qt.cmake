# Initial cache (cmake -C) of a build that links the editors against the static Linux Qt of
# scripts/static-qt.sh (release.sh, bench.sh). Qt's own build links nothing and does not read
# this file: it decides only how the editors are linked.
#
# The xcb utility and extension libraries as Debian's static archives, so that of the X client
# libraries the editors need only libxcb itself (and xkbcommon, whose X part brings
# libxcb-xkb); the C++ runtime static too. libxcb-image calls libxcb-util's xcb_aux_create_gc,
# and libxcb-render-util comes after libxcb-render on Qt's link line: both archives come again
# at the end of every link.
set(_lib /usr/lib/x86_64-linux-gnu)
foreach(_component ICCCM IMAGE KEYSYMS RENDERUTIL RANDR RENDER SHAPE SHM SYNC XFIXES)
  string(TOLOWER ${_component} _name)
  string(REPLACE "renderutil" "render-util" _name ${_name})
  set(XCB_${_component}_LIBRARY ${_lib}/libxcb-${_name}.a CACHE FILEPATH "")
endforeach()
set(CMAKE_CXX_STANDARD_LIBRARIES
  "-static-libstdc++ -static-libgcc -Wl,--gc-sections ${_lib}/libxcb-util.a ${_lib}/libxcb-render.a"
  CACHE STRING "")
# What the static C++ runtime would need of glibc 2.36 comes from the programs themselves
# (cmake/glibc-compat.cpp), so that the editors need glibc 2.35 at most (Ubuntu 22.04).
set(CMAKE_PROJECT_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/linux-static-link.cmake CACHE FILEPATH "")
