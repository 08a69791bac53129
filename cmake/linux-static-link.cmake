# Included after the project() of a build configured with cmake/linux-static-qt.cmake
# (CMAKE_PROJECT_INCLUDE): every program of that build links cmake/glibc-compat.cpp, so that
# the static C++ runtime asks for no newer C library than glibc 2.35.
add_library(voltara_glibc_compat OBJECT ${CMAKE_CURRENT_LIST_DIR}/glibc-compat.cpp)
link_libraries(voltara_glibc_compat)
