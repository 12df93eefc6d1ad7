# Tests of the upload worker, the transfer window and the command catalogue. Included
# from tests/CMakeLists.txt, so sources are named from this file's folder.
set(_dir ${CMAKE_CURRENT_LIST_DIR})

tavisnap_test(commands_test
  SOURCES ${_dir}/commands_evaluation_test.cpp ${_dir}/commands_forms_test.cpp
          ${_dir}/commands_wire_test.cpp
  LIBS tavisnap_service tavisnap_local_service_fixture)

tavisnap_test(transfer_test
  SOURCES ${_dir}/transfer_worker_test.cpp ${_dir}/transfer_cancel_test.cpp
  LIBS tavisnap_service tavisnap_local_service_fixture)

# The same tests under ThreadSanitizer. The service's sources are compiled in afresh,
# instrumented; the libraries below them (core, libcurl, OpenSSL) are not, and need no
# suppressions.
if(NOT WIN32)
  file(GLOB _service_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/service/*.cpp)
  list(FILTER _service_sources EXCLUDE REGEX "_win\\.cpp$")
  tavisnap_test(transfer_tsan_test
    SOURCES ${_dir}/transfer_worker_test.cpp ${_dir}/transfer_cancel_test.cpp ${_service_sources}
    LIBS tavisnap_core tavisnap::curl Threads::Threads tavisnap_local_service_fixture
    LABELS tsan)
  target_compile_options(transfer_tsan_test PRIVATE -fsanitize=thread)
  target_link_options(transfer_tsan_test PRIVATE -fsanitize=thread)
  set_property(TEST transfer_tsan_test APPEND PROPERTY ENVIRONMENT
      "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1")
endif()

# Under Wine: the transfer window against the local service, and the message boxes.
tavisnap_wine_test(form_http_wine_test
  SOURCES ${_dir}/form_http_win_test.cpp ${_dir}/commands_prompter_win_test.cpp
          ${CMAKE_SOURCE_DIR}/src/service/form_http_win.rc
  LIBS tavisnap_service_win tavisnap_core_win
  SERVICE)
