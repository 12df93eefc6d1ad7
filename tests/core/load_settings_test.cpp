#include "core/load_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "core/app_error.h"
#include "core/codepage.h"
#include "core/define.h"
#include "core/settings_list.h"
#include "support/globals.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

using testing::ResetGlobals;
using testing::TempDir;
using testing::WriteBytes;

class LoadSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Leftovers of an earlier run that a load must replace.
    ResetGlobals();
    SysInfo.SignedIn = true;
    SysInfo.Password = "stale";
    HotKeyReady = "ON";
    RunMode = kRunModeOnline;
    Settings.Set("STALE.KEY", "1");
  }
  void TearDown() override { ResetGlobals(); }
  void WriteSystem(const std::string& keys) {
    WriteBytes(dir_ / "system.ini", Utf8ToCp932("[SYSTEM]\r\n" + keys + "[MAILLIST]\r\n"));
  }
  bool Load(const std::string& storedPassword = "") {
    return LoadSettingsFrom(dir_.str(), [&] { return storedPassword; });
  }

  TempDir dir_;
};

TEST_F(LoadSettingsTest, MissingFileSetsOnlyThePathsAndAsksForNoPassword) {
  bool asked = false;
  EXPECT_FALSE(LoadSettingsFrom(dir_.str(), [&] {
    asked = true;
    return std::string();
  }));
  EXPECT_FALSE(asked);
  EXPECT_EQ(AppDir, dir_.str() + "/");
  EXPECT_EQ(IniPath, dir_.str() + "/system.ini");
  EXPECT_EQ(CaptureDir, dir_.str() + "/capture");
  EXPECT_EQ(CaptureFile, dir_.str() + "/capture/capture.jpg");
  // A folder given with its separator does not get a second one.
  LoadSettingsFrom(dir_.str() + "/", [] { return std::string(); });
  EXPECT_EQ(CaptureFile, dir_.str() + "/capture/capture.jpg");
}

TEST_F(LoadSettingsTest, FillsSysInfoAndTheStateGlobals) {
  WriteSystem(
      "MAILID=me@b.jp\r\nLOGO=1\r\nBASIC_AUTH=2\r\nHOME_URL=https://h.jp\r\n"
      "DST_NAME=花子\r\nDST_MAILADR=hana@b.jp\r\nUPDATE_URL=https://h.jp/up/\r\n"
      "CAPFILEDEL=1\r\nHOTKEY=O\r\nVOICE=2\r\n");
  ASSERT_TRUE(Load("YWJj"));
  EXPECT_FALSE(SysInfo.SignedIn);
  EXPECT_EQ(SysInfo.MailId, "me@b.jp");
  EXPECT_EQ(SysInfo.Password, "abc");
  EXPECT_TRUE(SysInfo.Logo);
  EXPECT_FALSE(SysInfo.BasicAuth);
  EXPECT_FALSE(SysInfo.AutoLogin);
  EXPECT_EQ(SysInfo.HomeUrl, "https://h.jp");
  EXPECT_EQ(SysInfo.DstName, "花子");
  EXPECT_EQ(SysInfo.DstMailAdr, "hana@b.jp");
  EXPECT_EQ(SysInfo.UpdateUrl, "https://h.jp/up/");
  EXPECT_TRUE(SysInfo.CapFileDel);
  EXPECT_EQ(SysInfo.HotKey, "O");
  EXPECT_EQ(SysInfo.Voice, "2");
  EXPECT_EQ(HotKeyReady, "OFF");
  EXPECT_EQ(RunMode, kRunModeOffline);
  EXPECT_EQ(Settings.Get("STALE.KEY"), "");  // the list starts empty
  EXPECT_EQ(Settings.Get("SYSTEM.MAILID"), "me@b.jp");
}

TEST_F(LoadSettingsTest, OnlyTheTextOneSwitchesAFlagOn) {
  for (const char* line : {"AUTOLOGIN=2\r\n", "AUTOLOGIN=0\r\n", "AUTOLOGIN=yes\r\n",
                           "AUTOLOGIN=\r\n", "AUTOLOGIN=11\r\n", ""}) {
    WriteSystem(line);
    ASSERT_TRUE(Load());
    EXPECT_FALSE(SysInfo.AutoLogin) << line;
  }
  WriteSystem("AUTOLOGIN= 1 \r\n");
  ASSERT_TRUE(Load());
  EXPECT_TRUE(SysInfo.AutoLogin);
}

TEST_F(LoadSettingsTest, DefaultsReplaceMissingAndEmptyValues) {
  WriteSystem("VOICE=\r\nDST_NAME=\r\n");
  ASSERT_TRUE(Load());
  EXPECT_EQ(SysInfo.Voice, "0");
  EXPECT_EQ(SysInfo.HotKey, "PS");
  EXPECT_EQ(SysInfo.DstName, "");
  EXPECT_EQ(SysInfo.Password, "");  // nothing stored
  for (const auto& e : Settings) EXPECT_NE(e.name, "SYSTEM.DST_NAME");
}

TEST_F(LoadSettingsTest, ServiceUrlMustBeHttpsEndingInASlash) {
  struct Case {
    const char* configured;
    const char* expected;
  };
  for (const Case& c :
       {Case{"https://127.0.0.1:18443/", "https://127.0.0.1:18443/"},
        Case{"HTTPS://svc.example.jp/api/", "HTTPS://svc.example.jp/api/"},
        Case{"", kDefaultServiceUrl}, Case{"http://svc.example.jp/", kDefaultServiceUrl},
        Case{"https://svc.example.jp", kDefaultServiceUrl}, Case{"https:///", kDefaultServiceUrl},
        Case{"https://a b/", kDefaultServiceUrl}, Case{"svc.example.jp/", kDefaultServiceUrl}}) {
    WriteSystem(std::string("SERVICE_URL=") + c.configured + "\r\n");
    ASSERT_TRUE(Load());
    EXPECT_EQ(BaseUrl, c.expected) << c.configured;
  }
}

TEST_F(LoadSettingsTest, CaFileIsTakenRelativeToTheProgramFolder) {
  WriteSystem("");
  ASSERT_TRUE(Load());
  EXPECT_EQ(CaFile, "");
  WriteSystem("CA_FILE=certs/ca.pem\r\n");
  ASSERT_TRUE(Load());
  EXPECT_EQ(CaFile, AppDir + "certs/ca.pem");
  WriteSystem("CA_FILE=/etc/ssl/ca.pem\r\n");
  ASSERT_TRUE(Load());
  EXPECT_EQ(CaFile, "/etc/ssl/ca.pem");
}

TEST_F(LoadSettingsTest, AFailingPasswordStoreIsAnError) {
  WriteSystem("");
  EXPECT_THROW(LoadSettingsFrom(dir_.str(), []() -> std::string { throw AppError("x"); }),
               AppError);
}

}  // namespace
}  // namespace tavisnap
