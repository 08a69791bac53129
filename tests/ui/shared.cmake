# The shared windows and services: Credits, About, sibling launch and website.
foreach(test tst_frmcredits tst_frmabout tst_launch)
  voltara_ui_test(${test} SOURCES ${test}.cpp LIBRARIES voltara_ui)
endforeach()
