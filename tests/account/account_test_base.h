// What the account tests share: one local service per suite and, before each test, an
// empty service, fresh globals, a settings file in a folder of its own, and the account
// window's logic over a fake window, message boxes and main window.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "account/account_fakes.h"
#include "account/form_init_logic.h"
#include "account/recording_services.h"
#include "core/app_error.h"
#include "core/define.h"
#include "core/file_util.h"
#include "core/settings_list.h"
#include "service/http_client_init.h"
#include "service/local_service_fixture.h"
#include "service/post_form.h"
#include "service/session_cookie.h"
#include "support/globals.h"
#include "support/sent_field.h"
#include "support/temp_dir.h"

namespace tavisnap::testing {

// The settings save's own message, as the user reads it.
inline constexpr char kIniWriteBox[] = "書き込みエラー(INIファイル)";

class AccountTest : public ::testing::Test {
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
    BaseUrl = service_->Url();
    IniPath = dir_ / "system.ini";
    prompter.log = &log;
  }
  void TearDown() override { ResetServiceGlobals(); }

  static LocalService& Service() { return *service_; }

  std::string IniText() const { return ReadWholeFile(IniPath).value_or("<no file>"); }
  // The value of a text field of the last request the service received.
  static std::string SentField(const std::string& name) {
    return testing::SentField(Service().LastRequest(), name);
  }
  static size_t RequestCount() { return Service().RequestIds().size(); }
  // Nothing listens there: every transaction fails.
  static void MakeServiceUnreachable() { BaseUrl = "https://127.0.0.1:1/"; }

  std::vector<std::string> log;  // boxes and window changes, in order
  FakeInitView view{&log};
  FakePrompter prompter;
  RecordingServices services;
  std::vector<std::string> savedPasswords;
  bool registryFails = false;  // the saver then throws as an unwritable registry does
  void SavePassword(const std::string& encoded) {
    if (registryFails) throw AppError("書き込みエラー(レジストリ)");
    savedPasswords.push_back(encoded);
  }
  FormInitLogic logic{view, prompter, services, PostForm,
                      [this](const std::string& encoded) { SavePassword(encoded); }};
  TempDir dir_;

 private:
  static inline std::unique_ptr<LocalService> service_;
};

}  // namespace tavisnap::testing
