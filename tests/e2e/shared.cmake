# From Tavrin's menu bar start Olmach under a private X server, then close both. Skipped
# (exit code 77) while either program is not built.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME e2e_shared_launch
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/shared_launch.py ${CMAKE_BINARY_DIR}/bin)
set_tests_properties(e2e_shared_launch PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77)
