# One start-open-edit-save-quit cycle of each editor under valgrind's leak checker.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME e2e_leakcheck
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/leakcheck.py ${CMAKE_BINARY_DIR}/bin)
set_tests_properties(e2e_leakcheck PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)
