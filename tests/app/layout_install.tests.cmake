# The installation's layout, natively (tools/layout_install).
if(TARGET tavisnap_layout_install)
  tavisnap_test(app_layout_install_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/layout_install_test.cpp LIBS tavisnap_layout_install)
endif()
