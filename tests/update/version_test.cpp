// The own version, the comparison with the published one, the offer and the version box.
#include <gtest/gtest.h>

#include "core/app_error.h"
#include "support/fake_prompter.h"
#include "update/about.h"
#include "update/updater.h"
#include "update/version_compare.h"
#include "update/version_info.h"

namespace tavisnap::testing {
namespace {

VersionBlock BlockWith(std::string productVersion, std::string* asked = nullptr) {
  VersionBlock block;
  block.present = true;
  block.translations = {0x03A40411};
  block.query = [productVersion, asked](const std::string& path) {
    if (asked) *asked = path;
    return productVersion;
  };
  return block;
}

TEST(CurrentVersion, DropsTheLastDottedPartOnlyWhenThereIsOneAfterTheStart) {
  struct Case {
    const char* productVersion;
    const char* current;
  } cases[] = {
      {"2.0.1.0", "2.0.1"}, {"2010", "2010"}, {".5", ".5"}, {"", ""}, {"1.", "1"},
  };
  for (const Case& c : cases) {
    std::string path;
    EXPECT_EQ(
        WithoutLastPart(ReadVersionString(BlockWith(c.productVersion, &path), "ProductVersion")),
        c.current)
        << c.productVersion;
    EXPECT_EQ(path, "\\StringFileInfo\\041103A4\\ProductVersion");
  }
}

TEST(CurrentVersion, NoBlockIsEmptyAndABlockWithoutTranslationsFails) {
  EXPECT_EQ(ReadVersionString(VersionBlock{}, "ProductVersion"), "");
  VersionBlock bare = BlockWith("2.0.1.0");
  bare.translations.clear();
  try {
    ReadVersionString(bare, "ProductVersion");
    FAIL() << "no error";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), "バージョン情報取得エラー");
  }
  EXPECT_EQ(VersionStringPath(0x04B00409, "ProductName"),
            "\\StringFileInfo\\040904B0\\ProductName");
}

TEST(VersionCompare, DottedPartsCompareAsNumbers) {
  struct Case {
    const char* current;
    const char* latest;
    bool newer;
  } cases[] = {
      {"2.0.1", "2.0.2", true},   {"2.0.1", "2.0.10", true},
      {"2.0.1", "2.0.1", false},  {"2.0.9", "2.0.10", true},
      {"2.0.10", "2.0.9", false}, {"2.0.2", "2.0.1", false},
      {"2.0.1", "2.0.x", false},  {"2.0.x", "2.0.2", false},
      {"2.0.1", "2..2", false},   {"2.0.1", "2.0.1.1", true},
      {"2.0", "2.0.0", false},    {"2.0.01", "2.0.1", false},
      {"", "2.0.1", true},        {"", "beta", false},
      {"2.0.1", "-2.0.2", false}, {"2.0.1", "99999999999999999999.0", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsNewerVersion(c.current, c.latest), c.newer) << c.current << " / " << c.latest;
  }
}

TEST(OfferUpdate, AsksOnlyForANewerVersionOverHttpsAndActsOnTheAnswer) {
  const std::string https = "https://update.example/";
  struct Case {
    const char* name;
    std::string latest;
    std::string url;
    std::deque<bool> answers;
    bool downloads;
    UpdateOffer outcome;
    std::vector<ShownBox> boxes;
  } cases[] = {
      {"same version", "2.0.1", https, {}, true, UpdateOffer::NotOffered, {}},
      {"nothing published", "", https, {}, true, UpdateOffer::NotOffered, {}},
      {"no update url", "2.0.2", "", {}, true, UpdateOffer::NotOffered, {}},
      {"plain http", "2.0.2", "http://update.example/", {}, true, UpdateOffer::NotOffered, {}},
      {"declined",
       "2.0.2",
       https,
       {false},
       true,
       UpdateOffer::Declined,
       {{BoxKind::UpdateQuestion, kUpdateQuestion}}},
      {"accepted",
       "2.0.2",
       "HTTPS://update.example/",
       {true},
       true,
       UpdateOffer::Started,
       {{BoxKind::UpdateQuestion, kUpdateQuestion}}},
      {"download failed",
       "2.0.2",
       https,
       {true},
       false,
       UpdateOffer::DownloadFailed,
       {{BoxKind::UpdateQuestion, kUpdateQuestion}, {BoxKind::UpdateFailed, kUpdateFailed}}},
  };
  for (Case& c : cases) {
    FakePrompter prompter;
    prompter.answers = c.answers;
    int downloads = 0;
    int starts = 0;
    UpdateActions actions{[&] {
                            ++downloads;
                            return c.downloads;
                          },
                          [&] { ++starts; }};
    EXPECT_EQ(OfferUpdate("2.0.1", c.latest, c.url, prompter, actions), c.outcome) << c.name;
    EXPECT_EQ(prompter.boxes, c.boxes) << c.name;
    bool asked_ok = c.outcome == UpdateOffer::Started || c.outcome == UpdateOffer::DownloadFailed;
    EXPECT_EQ(downloads, asked_ok ? 1 : 0) << c.name;
    EXPECT_EQ(starts, c.outcome == UpdateOffer::Started ? 1 : 0) << c.name;
  }
}

TEST(VersionBox, HasItsSixLinesEachEndedByCrLf) {
  std::string text =
      VersionBoxText({"タビスナップ", "2.0.1.0", "Copyright (C) 2026 Tavisnap Project"});
  EXPECT_EQ(text,
            "製品名：タビスナップ　バージョン：2.0.1\r\n"
            "\r\n"
            "Copyright (C) 2026 Tavisnap Project\r\n"
            "--------------------------------------------------------------\r\n"
            "タビスナップはデスクトップ画像のスクリーンショットを、\r\n"
            "インターネットを利用し簡単操作で相手に見てもらう ASP サービスです。\r\n");
}

TEST(HelpEntries, JoinTheirPartsAsTheyAre) {
  EXPECT_EQ(HelpPageAddress("https://example.jp"), "https://example.jp/help.html");
  EXPECT_EQ(HelpPageAddress("https://example.jp/"), "https://example.jp//help.html");
  EXPECT_EQ(ReadmePath("C:\\Program Files\\tavisnap\\"), "C:\\Program Files\\tavisnap\\readme.txt");
}

}  // namespace
}  // namespace tavisnap::testing
