#include "capture/outbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/app_error.h"
#include "core/iso2022jp.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

class OutboxTest : public ::testing::Test {
 protected:
  std::string Capture(const std::string& bytes) {
    testing::WriteBytes(temp / "capture.jpg", bytes);
    return temp / "capture.jpg";
  }
  static TTypSendParam Detailed() {
    TTypSendParam p;
    p.CaptureMode = 2;
    p.CaptureTitle = "無題\tメモ帳 100%";
    p.DetailSend = 1;
    p.MailTo = "to@example.jp";
    p.MailCc = "a@example.jp;b@example.jp;";
    p.MailBcc = "c@example.jp;";
    p.MailMessage = ConvertCodePage(932, 50220, "お願いします\r\n二行目");
    return p;
  }
  std::vector<std::string> Ids(const Outbox& outbox) const {
    std::vector<std::string> ids;
    for (const OutboxEntry& e : outbox.Entries()) ids.push_back(e.id);
    return ids;
  }

  testing::TempDir temp;
  // In the user's local folder of the program, which a first failed send makes too.
  std::string folder = temp / "Tavisnap/outbox";
};

// What a new program finds after a restart is what the last one kept, byte for byte, and
// the next capture does not touch it.
TEST_F(OutboxTest, KeptPicturesAndAddressesSurviveARestartOldestFirst) {
  TTypSendParam simple;
  simple.CaptureMode = 1;
  simple.MailTo = "helper@example.jp";
  {
    Outbox outbox(folder);
    EXPECT_FALSE(outbox.HasEntries());
    outbox.Add(Capture("first picture"), Detailed());
    outbox.Add(Capture("second picture"), simple);
    Capture("the next capture");
  }
  Outbox restarted(folder);
  std::vector<OutboxEntry> entries = restarted.Entries();
  ASSERT_EQ(entries.size(), 2u);
  TTypSendParam d = Detailed();
  EXPECT_EQ(entries[0], (OutboxEntry{"000001", 2, d.CaptureTitle, 1, d.MailTo, d.MailCc, d.MailBcc,
                                     d.MailMessage}));
  EXPECT_EQ(entries[1], (OutboxEntry{"000002", 1, "", 0, "helper@example.jp", "", "", ""}));
  EXPECT_EQ(testing::ReadBytes(restarted.PictureOf(entries[0])), "first picture");
  EXPECT_EQ(testing::ReadBytes(restarted.PictureOf(entries[1])), "second picture");
  EXPECT_EQ(restarted.Oldest()->id, "000001");
  std::string index = testing::ReadBytes(folder + "/outbox.txt");
  EXPECT_EQ(index.find('\x1b'), std::string::npos) << "escaped: one line an entry";
  EXPECT_NE(index.find("%09"), std::string::npos);
}

TEST_F(OutboxTest, RemovingTakesLineAndPictureAndANewIdPassesEveryKeptOne) {
  Outbox outbox(folder);
  outbox.Add(Capture("1"), Detailed());
  outbox.Add(Capture("2"), Detailed());
  std::string second = outbox.PictureOf(outbox.Entries()[1]);
  outbox.Remove("000002");
  EXPECT_EQ(Ids(outbox), std::vector<std::string>{"000001"});
  EXPECT_FALSE(std::filesystem::exists(U8Path(second)));
  outbox.Add(Capture("3"), Detailed());
  outbox.Remove("000001");
  EXPECT_EQ(Ids(outbox), std::vector<std::string>{"000002"});
  EXPECT_EQ(testing::ReadBytes(outbox.PictureOf(outbox.Entries()[0])), "3");
  outbox.Remove("000002");
  EXPECT_FALSE(outbox.HasEntries());
}

// Damage from outside: an entry without its picture is not offered, a line the program
// cannot read stays in the index and its id is not taken again.
TEST_F(OutboxTest, DamagedEntriesAreSkippedAndKept) {
  Outbox outbox(folder);
  outbox.Add(Capture("1"), Detailed());
  outbox.Add(Capture("2"), Detailed());
  std::filesystem::remove(U8Path(outbox.PictureOf(outbox.Entries()[0])));
  std::string index = testing::ReadBytes(folder + "/outbox.txt");
  testing::WriteBytes(folder + "/outbox.txt", "000007\tbroken %zz\r\n" + index);
  EXPECT_EQ(Ids(outbox), std::vector<std::string>{"000002"});
  outbox.Add(Capture("3"), Detailed());
  EXPECT_EQ(Ids(outbox), (std::vector<std::string>{"000002", "000008"}));
  outbox.Remove("000002");
  EXPECT_EQ(testing::ReadBytes(folder + "/outbox.txt").find("000007\tbroken %zz\r\n"), 0u);
}

TEST_F(OutboxTest, APictureThatCannotBeKeptThrowsAndLeavesNoEntry) {
  Outbox outbox(folder);
  EXPECT_THROW(outbox.Add(temp / "missing.jpg", Detailed()), AppError);
  testing::WriteBytes(temp / "file", "a file where the folder should be");
  Outbox blocked(temp / "file");
  EXPECT_THROW(blocked.Add(Capture("1"), Detailed()), AppError);
  EXPECT_FALSE(outbox.HasEntries());
  EXPECT_FALSE(blocked.HasEntries());
}

TEST(Iso2022Jp, MessagesComeBackAsTheyWereTyped) {
  const char* texts[] = {"", "plain ASCII", "お願いします\r\n二行目", "①髙﨑 ～－",
                         "漢字とカナ、ABC。"};
  for (const char* text : texts) {
    EXPECT_EQ(Iso2022JpToUtf8(ConvertCodePage(932, 50220, text)), text) << text;
  }
  EXPECT_EQ(Iso2022JpToUtf8("\x1b(I\x31\x1b(B"), "ｱ") << "half-width katakana set";
}

}  // namespace
}  // namespace tavisnap
