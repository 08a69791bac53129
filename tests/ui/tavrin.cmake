# Tavrin's main window.
if(TARGET tavrin_window)
  voltara_ui_test(tst_frmtavrin SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_frmtavrin.cpp LIBRARIES tavrin_window)
endif()
