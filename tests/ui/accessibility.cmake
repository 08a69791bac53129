# What a screen reader reads of every control of both main windows, About and Credits.
if(TARGET tavrin_window AND TARGET olmach_window)
  voltara_ui_test(tst_accessibility
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_accessibility.cpp
    LIBRARIES tavrin_window olmach_window)
endif()
