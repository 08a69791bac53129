# Tavrin end to end: the real program under a private X server, driven by xdotool.
if(TARGET Tavrin)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME e2e_tavrin
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/xsession.py
            bash ${CMAKE_CURRENT_LIST_DIR}/tavrin_e2e.sh $<TARGET_FILE:Tavrin>
            ${PROJECT_SOURCE_DIR}/tests/core/data/default_personality.cfg)
  set_tests_properties(e2e_tavrin PROPERTIES TIMEOUT 120)
endif()
