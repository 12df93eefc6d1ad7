// The own version, the comparison with the published one and the offer.
#include <gtest/gtest.h>

#include "core/app_error.h"
#include "support/fake_prompter.h"
#include "update/updater.h"
#include "update/version_compare.h"
#include "update/version_info.h"

namespace tavisnap::testing {
namespace {

TEST(CurrentVersion, IsProductVersionWithoutItsLastPartFromTheFirstTranslation) {
  struct Case {
    const char* productVersion;
    const char* current;
  } cases[] = {{"2.0.1.0", "2.0.1"}, {"2010", "2010"}, {".5", ".5"}, {"", ""}};
  for (const Case& c : cases) {
    std::string asked;
    VersionBlock block{true, {0x03A40411, 0x04B00409}, [&](const std::string& path) {
                         asked = path;
                         return std::string(c.productVersion);
                       }};
    EXPECT_EQ(WithoutLastPart(ReadVersionString(block, "ProductVersion")), c.current);
    EXPECT_EQ(asked, "\\StringFileInfo\\041103A4\\ProductVersion");
  }
  EXPECT_EQ(ReadVersionString(VersionBlock{}, "ProductVersion"), "") << "no version block";
  VersionBlock untranslated{true, {}, nullptr};
  try {
    ReadVersionString(untranslated, "ProductVersion");
    ADD_FAILURE() << "a block without translations gives no error";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), "バージョン情報取得エラー");
  }
}

TEST(VersionCompare, DottedPartsCompareAsNumbers) {
  struct Case {
    const char* current;
    const char* latest;
    bool newer;
  } cases[] = {
      {"2.0.1", "2.0.2", true},
      {"2.0.1", "2.0.10", true},
      {"2.0.1", "2.0.1", false},
      {"2.0.9", "2.0.10", true},
      {"2.0.10", "2.0.9", false},
      {"2.0.1", "2.0.x", false},
      {"2.0.x", "2.0.2", false},
      {"2.0.1", "2..2", false},
      {"2.0.1", "2.0.1.1", true},
      {"2.0", "2.0.0", false},
      {"2.0.01", "2.0.1", false},
      {"", "2.0.1", true},
      {"", "beta", false},
      {"2.0.1", "-2.0.2", false},
      {"2.0.1", "99999999999999999999", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsNewerVersion(c.current, c.latest), c.newer) << c.current << " / " << c.latest;
  }
}

TEST(OfferUpdate, AsksOnlyForANewerVersionOverHttpsAndActsOnTheAnswer) {
  const std::string https = "https://update.example/";
  const ShownBox question{BoxKind::UpdateQuestion, kUpdateQuestion};
  const ShownBox failed{BoxKind::UpdateFailed, kUpdateFailed};
  struct Case {
    std::string latest;
    std::string url;
    bool answer;
    bool downloads;
    UpdateOffer outcome;
    std::vector<ShownBox> boxes;
    bool starts = true;
  } cases[] = {
      {"2.0.1", https, true, true, UpdateOffer::NotOffered, {}},
      {"", https, true, true, UpdateOffer::NotOffered, {}},
      {"2.0.2", "", true, true, UpdateOffer::NotOffered, {}},
      {"2.0.2", "http://update.example/", true, true, UpdateOffer::NotOffered, {}},
      {"2.0.2", https, false, true, UpdateOffer::Declined, {question}},
      {"2.0.2", "HTTPS://update.example/", true, true, UpdateOffer::Started, {question}},
      {"2.0.2", https, true, false, UpdateOffer::DownloadFailed, {question, failed}},
      {"2.0.2", https, true, true, UpdateOffer::StartFailed, {question, failed}, false},
  };
  for (const Case& c : cases) {
    FakePrompter prompter;
    prompter.answers = {c.answer};
    int downloads = 0, starts = 0;
    UpdateActions actions{[&] { return ++downloads, c.downloads; },
                          [&] { return ++starts, c.starts; }};
    EXPECT_EQ(OfferUpdate("2.0.1", c.latest, c.url, prompter, actions), c.outcome)
        << c.latest << c.url;
    EXPECT_EQ(prompter.boxes, c.boxes) << c.latest << c.url;
    EXPECT_EQ(downloads, c.boxes.empty() || !c.answer ? 0 : 1);
    const bool tried = c.outcome == UpdateOffer::Started || c.outcome == UpdateOffer::StartFailed;
    EXPECT_EQ(starts, tried ? 1 : 0);
  }
}

}  // namespace
}  // namespace tavisnap::testing
