# What the Windows build adds to the shared one: every executable a single file that needs no
# DLL beside it, the programs with the shared icon as their file icon, and tests that run under
# Wine in a prefix of their own.

# The C and C++ runtimes and winpthreads go into each executable too; Qt is static already.
add_link_options(-static)

# The shipped build: optimized as the Linux build is (GCC 12 warns falsely about std::string
# at -O3), and without the symbol table, which would double each file's size.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
add_link_options($<$<CONFIG:Release>:-s>)

# Test programs run under Wine (see scripts/wine.sh); the prefix lives in the build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine.sh)
set(VOLTARA_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(VOLTARA_WINE_ENVIRONMENT WINEPREFIX=${VOLTARA_WINEPREFIX} WINEDEBUG=-all)

enable_language(RC)

# Gives every executable defined in the folder the shared icon as its file icon, a version
# resource (its description is the target's VOLTARA_DESCRIPTION) and an application manifest
# (cmake/windows.manifest.in: made for Windows 10 and 11, paths longer than MAX_PATH where the
# system allows them, no elevation; DPI awareness is left to Qt, which sets it at start-up),
# and lists it in
# VOLTARA_PROGRAMS for the check of what the executables import (tests/windows).
function(voltara_windows_programs dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      get_target_property(DESCRIPTION ${target} VOLTARA_DESCRIPTION)
      if(NOT DESCRIPTION)
        set(DESCRIPTION "${target}")
      endif()
      set(NAME ${target})
      set(VERSION_FOUR "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
      set(MANIFEST ${VOLTARA_GENERATED}/${target}.manifest)
      configure_file(${PROJECT_SOURCE_DIR}/cmake/windows.manifest.in ${MANIFEST} @ONLY)
      configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in
        ${VOLTARA_GENERATED}/${target}_version.rc @ONLY)
      target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/ui/resources/icon.rc
        ${VOLTARA_GENERATED}/${target}_version.rc)
      target_include_directories(${target} PRIVATE ${VOLTARA_GENERATED})
      add_dependencies(${target} voltara_version)
      set_property(GLOBAL APPEND PROPERTY VOLTARA_PROGRAMS ${target})
    endif()
  endforeach()
endfunction()
