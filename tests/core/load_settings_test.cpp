#include "core/load_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/app_error.h"
#include "core/codepage.h"
#include "core/define.h"
#include "core/file_util.h"
#include "core/settings_list.h"
#include "support/globals.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

using testing::ReadBytes;
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
    std::filesystem::create_directory(dir_.path() / "Program Files");
  }
  void TearDown() override { ResetGlobals(); }
  // The installed file; the user's first start copies it.
  void WriteSystem(const std::string& keys) {
    WriteBytes(Installed(), Utf8ToCp932("[SYSTEM]\r\n" + keys + "[MAILLIST]\r\n"));
    std::filesystem::remove(U8Path(UserFile()));
  }
  bool Load(const std::string& storedPassword = "") {
    return LoadSettingsFrom(folders_, [&] { return storedPassword; });
  }
  std::string Installed() const { return folders_.program + "/system.ini"; }
  std::string UserFile() const { return folders_.roaming + "/system.ini"; }

  TempDir dir_;
  ProgramFolders folders_{dir_ / "Program Files", dir_ / "Roaming/Tavisnap",
                          dir_ / "Local/Tavisnap"};
};

TEST_F(LoadSettingsTest, MissingInstalledFileSetsOnlyThePathsAndAsksForNoPassword) {
  bool asked = false;
  EXPECT_FALSE(LoadSettingsFrom(folders_, [&] {
    asked = true;
    return std::string();
  }));
  EXPECT_FALSE(asked);
  EXPECT_EQ(AppDir, folders_.program + "/");
  EXPECT_EQ(MachineIniPath, folders_.program + "/system.ini");
  EXPECT_EQ(IniPath, folders_.roaming + "/system.ini");
  EXPECT_EQ(CaptureDir, folders_.local + "/capture");
  EXPECT_EQ(CaptureFile, folders_.local + "/capture/capture.jpg");
  EXPECT_FALSE(std::filesystem::exists(U8Path(folders_.roaming))) << "nothing to copy";
  // A user's file without the installation's is no installation either.
  std::filesystem::create_directories(U8Path(folders_.roaming));
  WriteBytes(UserFile(), "[SYSTEM]\r\nMAILID=a@b.jp\r\n");
  EXPECT_FALSE(Load());
  // A folder given with its separator does not get a second one.
  LoadSettingsFrom({folders_.program + "/", folders_.roaming + "/", folders_.local + "/"},
                   [] { return std::string(); });
  EXPECT_EQ(CaptureFile, folders_.local + "/capture/capture.jpg");
  EXPECT_EQ(IniPath, folders_.roaming + "/system.ini");
}

TEST_F(LoadSettingsTest, TheFirstStartCopiesTheInstalledFileAndLaterStartsKeepTheUsersOwn) {
  // An older installation's shared file: the account, the book, a comment, odd bytes.
  const std::string shared = Utf8ToCp932(
                                 "; 既定値\r\n[SYSTEM]\r\nMAILID=old@b.jp\r\nDST_NAME=花子\r\n"
                                 "[MAILLIST]\r\nNAME1=花子\r\nMAIL1=hana@b.jp\r\n") +
                             "X=\x81\r\n";
  WriteBytes(Installed(), shared);
  ASSERT_TRUE(Load());
  EXPECT_EQ(ReadBytes(UserFile()), shared);
  EXPECT_EQ(SysInfo.MailId, "old@b.jp");
  EXPECT_EQ(Settings.Get("MAILLIST.MAIL1"), "hana@b.jp");

  // From then on the user's file is the one: the installed file's account is not read.
  WriteBytes(UserFile(), "[SYSTEM]\r\nMAILID=me@b.jp\r\n");
  ASSERT_TRUE(Load());
  EXPECT_EQ(SysInfo.MailId, "me@b.jp");
  EXPECT_EQ(Settings.Get("MAILLIST.MAIL1"), "");
  EXPECT_EQ(ReadBytes(Installed()), shared);
}

TEST_F(LoadSettingsTest, MachineKeysComeFromTheInstalledFileOnly) {
  WriteSystem(
      "SERVICE_URL=https://svc.example.jp/\r\nCA_FILE=ca.pem\r\nHOME_URL=https://h.jp\r\n"
      "UPDATE_URL=https://h.jp/up/\r\nLOGO=1\r\nVOICE=2\r\nCAPFILEDEL=1\r\n"
      "HOTKEY=O\r\nMAILID=installed@b.jp\r\n");
  ASSERT_TRUE(Load());  // the copy
  // What a user (or anyone who could write the user's file) plants there is not used.
  WriteBytes(UserFile(),
             Utf8ToCp932("[SYSTEM]\r\nservice_url=https://evil.example/\r\nCA_FILE=/evil.pem\r\n"
                         "HOME_URL=https://evil.example\r\nUPDATE_URL=https://evil.example/\r\n"
                         "LOGO=2\r\nVOICE=0\r\nCAPFILEDEL=2\r\nHOTKEY=S\r\nMAILID=me@b.jp\r\n"));
  ASSERT_TRUE(Load());
  EXPECT_EQ(BaseUrl, "https://svc.example.jp/");
  EXPECT_EQ(CaFile, AppDir + "ca.pem");
  EXPECT_EQ(SysInfo.HomeUrl, "https://h.jp");
  EXPECT_EQ(SysInfo.UpdateUrl, "https://h.jp/up/");
  EXPECT_TRUE(SysInfo.Logo);
  EXPECT_EQ(SysInfo.Voice, "2");
  EXPECT_TRUE(SysInfo.CapFileDel);
  // The user's keys are the user's.
  EXPECT_EQ(SysInfo.HotKey, "S");
  EXPECT_EQ(SysInfo.MailId, "me@b.jp");
  // The installed file without a machine key means its default, whatever the user's says.
  WriteBytes(Installed(), "[SYSTEM]\r\n");
  ASSERT_TRUE(Load());
  EXPECT_EQ(BaseUrl, kDefaultServiceUrl);
  EXPECT_EQ(SysInfo.Voice, "0");
  EXPECT_EQ(SysInfo.UpdateUrl, "");
}

TEST_F(LoadSettingsTest, AUserFileThatCannotBeMadeIsAnError) {
  WriteSystem("");
  // The profile's folder of the program is taken by a file.
  std::filesystem::create_directories(U8Path(folders_.roaming).parent_path());
  WriteBytes(folders_.roaming, "not a folder");
  EXPECT_THROW(Load(), AppError);
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
  EXPECT_THROW(LoadSettingsFrom(folders_, []() -> std::string { throw AppError("x"); }), AppError);
}

}  // namespace
}  // namespace tavisnap
