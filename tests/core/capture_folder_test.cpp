#include "core/capture_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/app_error.h"
#include "core/define.h"
#include "support/globals.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& p, const std::string& text = "x") {
  std::ofstream(p) << text;
}

// The capture folder and file of a program installed in a fresh temporary folder (with a
// Japanese name, as a user's folder may have).
class CaptureFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetGlobals();
    fs::create_directory(temp.path() / u8"プログラム");
    CaptureDir = temp / "プログラム/capture";
    CaptureFile = CaptureDir + kPathSeparator + "capture.jpg";
  }
  void TearDown() override { testing::ResetGlobals(); }
  fs::path Dir() const { return fs::path(std::u8string(CaptureDir.begin(), CaptureDir.end())); }
  fs::path File() const { return Dir() / "capture.jpg"; }

  template <typename Operation>
  void ExpectError(Operation operation, const char* message) {
    try {
      operation();
      ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
      EXPECT_STREQ(e.what(), message);
    }
  }

  testing::TempDir temp;
};

TEST_F(CaptureFolder, EnsureCreatesTheFolderWithItsParentsAndKeepsAnExistingFolder) {
  // A user's first capture: the program's folder in the profile is not there yet.
  CaptureDir = temp / "プログラム/Tavisnap/capture";
  EnsureCaptureDir();
  ASSERT_TRUE(fs::is_directory(Dir()));
  Touch(File());
  EnsureCaptureDir();
  EXPECT_TRUE(fs::exists(File())) << "an existing folder is left as it is";
}

TEST_F(CaptureFolder, EnsureFailsWhenAFileIsInTheWay) {
  Touch(Dir());
  ExpectError(EnsureCaptureDir, kCaptureDirCreateError);
  EXPECT_TRUE(fs::is_regular_file(Dir()));

  Touch(temp.path() / "file");
  CaptureDir = temp / "file/capture";
  ExpectError(EnsureCaptureDir, kCaptureDirCreateError);
  EXPECT_TRUE(fs::is_regular_file(temp.path() / "file"));
}

TEST_F(CaptureFolder, DeleteRemovesTheFileAndTheFolder) {
  EnsureCaptureDir();
  Touch(File());
  DeleteCaptureFile();
  EXPECT_FALSE(fs::exists(Dir()));
}

TEST_F(CaptureFolder, DeletePassesOverAMissingFile) {
  EnsureCaptureDir();
  DeleteCaptureFile();
  EXPECT_FALSE(fs::exists(Dir()));
}

TEST_F(CaptureFolder, DeleteFailsOnTheFolderWhenItHoldsTheUsersFile) {
  EnsureCaptureDir();
  Touch(File());
  Touch(Dir() / u8"メモ.txt", "mine");
  ExpectError(DeleteCaptureFile, kCaptureDirRemoveError);
  EXPECT_FALSE(fs::exists(File())) << "the capture file is gone first";
  EXPECT_TRUE(fs::exists(Dir() / u8"メモ.txt"));
}

TEST_F(CaptureFolder, DeleteFailsWhenTheFolderIsMissingOrNotAFolder) {
  ExpectError(DeleteCaptureFile, kCaptureDirRemoveError);
  Touch(Dir(), "not a folder");
  ExpectError(DeleteCaptureFile, kCaptureDirRemoveError);
  EXPECT_TRUE(fs::is_regular_file(Dir())) << "a file of that name is not deleted";
}

}  // namespace
}  // namespace tavisnap
