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
