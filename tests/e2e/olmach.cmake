# Olmach end to end: the real program under a private X server, driven by xdotool.
if(TARGET Olmach)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME e2e_olmach
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/xsession.py
            bash ${CMAKE_CURRENT_LIST_DIR}/olmach_e2e.sh $<TARGET_FILE:Olmach>
            ${PROJECT_SOURCE_DIR}/tests/core/data/default_sbot.cfg)
  set_tests_properties(e2e_olmach PROPERTIES TIMEOUT 120)
endif()
