# Olmach's window tests.
if(TARGET olmach_window)
  voltara_ui_test(tst_frmolmach
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_frmolmach.cpp
    LIBRARIES olmach_window)
endif()
