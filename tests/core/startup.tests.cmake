tavisnap_test(core_startup_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup_test.cpp LIBS tavisnap_core)
