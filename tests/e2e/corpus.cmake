# The damaged-file corpus through both real editors under a private X server; on Windows
# through the .exe files under Wine, with the same expectations.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
if(WIN32)
  add_test(NAME e2e_corpus
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/corpus.py --wine ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(e2e_corpus PROPERTIES ENVIRONMENT "${VOLTARA_WINE_ENVIRONMENT}")
else()
  add_test(NAME e2e_corpus
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/corpus.py ${CMAKE_BINARY_DIR}/bin)
endif()
set_tests_properties(e2e_corpus PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)
