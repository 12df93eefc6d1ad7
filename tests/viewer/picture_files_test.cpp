#include "viewer/picture_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/app_error.h"
#include "imaging/bmp_codec.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

TEST(PictureFiles, AreToldApartByTheExtensionInAnyLetterCase) {
  const struct {
    const char* path;
    PictureFileKind kind;
  } cases[] = {
      {"a.bmp", PictureFileKind::Bmp},     {"C:\\x\\a.BmP", PictureFileKind::Bmp},
      {"a.jpg", PictureFileKind::Jpeg},    {"a.JPG", PictureFileKind::Jpeg},
      {"a.Jpeg", PictureFileKind::Jpeg},   {"写真.JPEG", PictureFileKind::Jpeg},
      {"a.png", PictureFileKind::Other},   {"a.bmp.png", PictureFileKind::Other},
      {"a", PictureFileKind::Other},       {"a.", PictureFileKind::Other},
      {"d.bmp/a", PictureFileKind::Other}, {"d.jpg\\a", PictureFileKind::Other},
      {"a.jpe", PictureFileKind::Other},   {".bmp", PictureFileKind::Bmp},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureFileKindOf(c.path), c.kind) << c.path;
}

TEST(PictureFiles, RefusesABmpLargerThanAnyPictureBeforeReadingIt) {
  testing::TempDir dir;
  std::string path = dir.Write("huge.bmp", "BM");
  std::filesystem::resize_file(U8Path(path), kMaxBmpFileBytes + 1);  // sparse
  try {
    ReadPictureFile(path, PictureFileKind::Bmp);
    ADD_FAILURE() << "read";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), kBmpTooLarge);
  }
}

}  // namespace
}  // namespace tavisnap
