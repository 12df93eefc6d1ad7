tavisnap_test(core_iso2022jp_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/iso2022jp_test.cpp
  LIBS tavisnap_core)
