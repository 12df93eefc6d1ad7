#include <unistd.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/app_error.h"
#include "core/file_util.h"
#include "imaging/jpeg_codec.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

namespace fs = std::filesystem;

Picture Plain(Rgb colour) {
  Picture p(32, 16);
  p.Fill(colour);
  return p;
}

int FilesIn(const fs::path& folder) {
  return static_cast<int>(std::distance(fs::directory_iterator(folder), {}));
}

template <typename Operation>
void ExpectError(Operation operation, const char* message) {
  try {
    operation();
    ADD_FAILURE() << "no error";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), message);
  }
}

TEST(JpegFile, ReplacesTheFileWithTheNewPictureAndLeavesNothingElse) {
  testing::TempDir temp;
  std::string path = temp / "写真.jpg";
  WriteJpegFile(path, Plain(Rgb{255, 0, 0}));
  WriteJpegFile(path, Plain(Rgb{0, 0, 255}));
  Picture back = ReadJpegFile(path);
  EXPECT_EQ(back.Width(), 32);
  EXPECT_LE(back.Pixel(10, 10).r, 3);
  EXPECT_GE(back.Pixel(10, 10).b, 252);
  EXPECT_EQ(FilesIn(temp.path()), 1) << "no temporary file stays behind";
}

// A failed write must leave what was there: an upload may be reading it.
TEST(JpegFile, AFailedWriteLeavesTheOldFileWhole) {
  testing::TempDir temp;
  std::string path = temp / "capture.jpg";
  WriteJpegFile(path, Plain(Rgb{0, 255, 0}));
  std::string before = *ReadWholeFile(path);

  ExpectError([&] { WriteJpegFile(path, Picture()); }, kJpegWriteError);
  EXPECT_EQ(*ReadWholeFile(path), before) << "encoding failed";

  if (::geteuid() != 0) {  // the superuser writes into read-only folders anyway
    fs::permissions(temp.path(), fs::perms::owner_read | fs::perms::owner_exec);
    ExpectError([&] { WriteJpegFile(path, Plain(Rgb{9, 9, 9})); }, kJpegWriteError);
    fs::permissions(temp.path(), fs::perms::owner_all);
    EXPECT_EQ(*ReadWholeFile(path), before) << "folder read-only";
  }
  EXPECT_EQ(FilesIn(temp.path()), 1);
}

TEST(JpegFile, WriteFailsWhenTheFolderIsMissingOrADirectoryIsInTheWay) {
  testing::TempDir temp;
  ExpectError([&] { WriteJpegFile(temp / "gone/capture.jpg", Plain(Rgb{})); }, kJpegWriteError);

  fs::create_directory(temp.path() / "capture.jpg");
  std::ofstream(temp.path() / "capture.jpg" / "keep.txt") << "kept";
  ExpectError([&] { WriteJpegFile(temp / "capture.jpg", Plain(Rgb{})); }, kJpegWriteError);
  EXPECT_EQ(*ReadWholeFile(temp / "capture.jpg/keep.txt"), "kept");
  EXPECT_EQ(FilesIn(temp.path()), 1) << "no temporary file stays behind";
}

TEST(JpegFile, ReadFailsForMissingAndNonJpegFiles) {
  testing::TempDir temp;
  ExpectError([&] { ReadJpegFile(temp / "none.jpg"); }, kJpegReadError);
  std::ofstream(temp.path() / "empty.jpg");
  ExpectError([&] { ReadJpegFile(temp / "empty.jpg"); }, kJpegReadError);
  ExpectError([&] { ReadJpegFile(temp.path().string()); }, kJpegReadError);  // a folder
}

}  // namespace
}  // namespace tavisnap
