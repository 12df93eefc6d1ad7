// What the tests of the transaction share: one local service per test suite, and before
// each test an empty service, no session cookie and the service's authority trusted.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/define.h"
#include "service/form_data.h"
#include "service/http_client_init.h"
#include "service/local_service_fixture.h"
#include "service/session_cookie.h"
#include "support/globals.h"
#include "support/temp_dir.h"

namespace tavisnap::testing {

class ServiceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitHttpClient();
    service_ = std::make_unique<LocalService>();
  }
  static void TearDownTestSuite() { service_.reset(); }

  void SetUp() override {
    service_->Reset();
    ResetServiceGlobals();
    CaFile = service_->CaFile();
  }
  void TearDown() override { ResetServiceGlobals(); }

  static LocalService& Service() { return *service_; }

 private:
  static inline std::unique_ptr<LocalService> service_;
};

inline TTypFormData Text(std::string name, std::string value) {
  return {kFormText, std::move(name), std::move(value)};
}

inline TTypFormData File(std::string name, std::string path) {
  return {kFormFile, std::move(name), std::move(path)};
}

}  // namespace tavisnap::testing
