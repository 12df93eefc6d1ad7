# Imported targets for the third-party libraries, the same names in both builds:
#   tavisnap::curl  tavisnap::jpeg  tavisnap::expat  tavisnap::gtest  tavisnap::gtest_main  tavisnap::gmock
find_package(Threads REQUIRED)

if(WIN32)
  set(_deps ${TAVISNAP_DEPS_DIR})
  if(NOT EXISTS ${_deps}/curl/lib/libcurl.a)
    message(FATAL_ERROR "Windows libraries not found in ${_deps}: run scripts/build-win-deps.sh")
  endif()
  add_library(tavisnap::ssl INTERFACE IMPORTED)
  set_target_properties(tavisnap::ssl PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES ${_deps}/openssl/include
      INTERFACE_LINK_LIBRARIES "${_deps}/openssl/lib/libssl.a;${_deps}/openssl/lib/libcrypto.a;ws2_32;crypt32;bcrypt;advapi32;user32")
  add_library(tavisnap::curl INTERFACE IMPORTED)
  set_target_properties(tavisnap::curl PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES ${_deps}/curl/include
      INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
      INTERFACE_LINK_LIBRARIES "${_deps}/curl/lib/libcurl.a;tavisnap::ssl;ws2_32;wldap32;crypt32;normaliz;bcrypt;iphlpapi")
  add_library(tavisnap::jpeg INTERFACE IMPORTED)
  set_target_properties(tavisnap::jpeg PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES ${_deps}/jpeg/include
      INTERFACE_LINK_LIBRARIES ${_deps}/jpeg/lib/libjpeg.a)
  if(NOT EXISTS ${_deps}/expat/lib/libexpat.a)
    message(FATAL_ERROR "expat not found in ${_deps}: run scripts/build-win-deps.sh")
  endif()
  add_library(tavisnap::expat INTERFACE IMPORTED)
  set_target_properties(tavisnap::expat PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES ${_deps}/expat/include
      INTERFACE_COMPILE_DEFINITIONS XML_STATIC
      INTERFACE_LINK_LIBRARIES ${_deps}/expat/lib/libexpat.a)
  add_library(tavisnap::gtest INTERFACE IMPORTED)
  set_target_properties(tavisnap::gtest PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES ${_deps}/gtest/include
      INTERFACE_LINK_LIBRARIES "${_deps}/gtest/lib/libgtest.a;Threads::Threads")
  add_library(tavisnap::gmock INTERFACE IMPORTED)
  set_target_properties(tavisnap::gmock PROPERTIES
      INTERFACE_LINK_LIBRARIES "${_deps}/gtest/lib/libgmock.a;tavisnap::gtest")
  add_library(tavisnap::gtest_main INTERFACE IMPORTED)
  set_target_properties(tavisnap::gtest_main PROPERTIES
      INTERFACE_LINK_LIBRARIES "${_deps}/gtest/lib/libgtest_main.a;tavisnap::gtest")
else()
  find_package(CURL REQUIRED)
  find_package(OpenSSL REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(GTest REQUIRED)
  add_library(tavisnap::ssl INTERFACE IMPORTED)
  set_target_properties(tavisnap::ssl PROPERTIES INTERFACE_LINK_LIBRARIES "OpenSSL::SSL;OpenSSL::Crypto")
  add_library(tavisnap::curl INTERFACE IMPORTED)
  set_target_properties(tavisnap::curl PROPERTIES INTERFACE_LINK_LIBRARIES CURL::libcurl)
  add_library(tavisnap::jpeg INTERFACE IMPORTED)
  set_target_properties(tavisnap::jpeg PROPERTIES INTERFACE_LINK_LIBRARIES JPEG::JPEG)
  find_package(EXPAT REQUIRED)
  add_library(tavisnap::expat INTERFACE IMPORTED)
  set_target_properties(tavisnap::expat PROPERTIES INTERFACE_LINK_LIBRARIES EXPAT::EXPAT)
  add_library(tavisnap::gtest INTERFACE IMPORTED)
  set_target_properties(tavisnap::gtest PROPERTIES INTERFACE_LINK_LIBRARIES GTest::gtest)
  add_library(tavisnap::gmock INTERFACE IMPORTED)
  set_target_properties(tavisnap::gmock PROPERTIES INTERFACE_LINK_LIBRARIES GTest::gmock)
  add_library(tavisnap::gtest_main INTERFACE IMPORTED)
  set_target_properties(tavisnap::gtest_main PROPERTIES INTERFACE_LINK_LIBRARIES GTest::gtest_main)
  # cpp-httplib, for the local service and the tests that talk to it.
  find_path(HTTPLIB_INCLUDE_DIR httplib.h REQUIRED)
  find_library(HTTPLIB_LIBRARY cpp-httplib REQUIRED)
  add_library(tavisnap::httplib INTERFACE IMPORTED)
  set_target_properties(tavisnap::httplib PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES ${HTTPLIB_INCLUDE_DIR}
      INTERFACE_COMPILE_DEFINITIONS CPPHTTPLIB_OPENSSL_SUPPORT
      INTERFACE_LINK_LIBRARIES "${HTTPLIB_LIBRARY};OpenSSL::SSL;OpenSSL::Crypto;Threads::Threads")
endif()
