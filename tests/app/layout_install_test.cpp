// The installed system.ini: deployment keys written byte for byte into the user's file.
#include "system_ini_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavisnap::layout {
namespace {

// 表示ソフト in code page 932: both 表 and ソ end in the byte of "\".
const std::string kSoftwareCp932 = "\x95\x5C\x8E\xA6\x83\x5C\x83\x74\x83\x67";

TEST(DeploymentLines, FollowTheServiceAndKeepThePathByteForByte) {
  auto lines = DeploymentLines(
      {"https://127.0.0.1:18443/", "Z:\\tmp\\run state\\bin\\new\\root\\表示ソフト\\ca.pem"});
  std::vector<SystemLine> expected = {
      {"SERVICE_URL", "https://127.0.0.1:18443/"},
      {"HOME_URL", "https://127.0.0.1:18443"},
      {"UPDATE_URL", "https://127.0.0.1:18443/update/"},
      {"CA_FILE", "Z:\\tmp\\run state\\bin\\new\\root\\" + kSoftwareCp932 + "\\ca.pem"}};
  EXPECT_EQ(lines, expected);
  EXPECT_TRUE(DeploymentLines({}).empty());
}

TEST(DeploymentLines, RefuseWhatTheProgramWouldNotTakeAsGiven) {
  struct Case {
    DeploymentKeys keys;
    const char* why;
  };
  const Case cases[] = {
      {{"http://127.0.0.1/", ""}, "not https"},
      {{"https://127.0.0.1", ""}, "no closing slash"},
      {{"https://a b/", ""}, "blank in the URL"},
      {{"", "Z:\\a\tb\\ca.pem"}, "a real tab"},
      {{"", "Z:\\a\nb\\ca.pem"}, "a line break"},
      {{"", " Z:\\ca.pem"}, "leading blank"},
      {{"", "Z:\\ca.pem "}, "trailing blank"},
      {{"", "Z:\\¥\\ca.pem"}, "comes back from code page 932 as a backslash"},
      {{"", "Z:\\\xF0\x9F\x98\x80\\ca.pem"}, "emoji"},
      {{"", "Z:\\\xFF\\ca.pem"}, "not UTF-8"},
  };
  for (const Case& c : cases) {
    EXPECT_THROW(DeploymentLines(c.keys), LayoutError) << c.why;
  }
}

TEST(SetSystemLines, ReplacesAddsAndKeepsEveryOtherByte) {
  const std::vector<SystemLine> keys = {{"SERVICE_URL", "https://s/"}, {"CA_FILE", "Z:\\t\\ca"}};
  struct Case {
    const char* name;
    std::string before, after;
  };
  const Case cases[] = {
      {"in place, comments and address book kept",
       "; comment\r\n[SYSTEM]\r\nMAILID=a@b.jp\r\nSERVICE_URL=https://old/\r\nCA_FILE=\r\n\r\n"
       "[MAILLIST]\r\nNAME1=" +
           kSoftwareCp932 + "\r\n",
       "; comment\r\n[SYSTEM]\r\nMAILID=a@b.jp\r\nSERVICE_URL=https://s/\r\nCA_FILE=Z:\\t\\ca\r\n"
       "\r\n[MAILLIST]\r\nNAME1=" +
           kSoftwareCp932 + "\r\n"},
      {"keys match without regard to case and blanks; only the first is the program's",
       "[system]\r\n ca_file = old \r\nCA_FILE=second\r\nservice_url=x\r\n",
       "[system]\r\nCA_FILE=Z:\\t\\ca\r\nCA_FILE=second\r\nSERVICE_URL=https://s/\r\n"},
      {"missing keys after the section's last setting; other sections untouched",
       "CA_FILE=before any section\r\n[SYSTEM]\r\nA=1\r\n; note\r\n\r\n[OTHER]\r\nCA_FILE=o\r\n",
       "CA_FILE=before any section\r\n[SYSTEM]\r\nA=1\r\nSERVICE_URL=https://s/\r\n"
       "CA_FILE=Z:\\t\\ca\r\n; note\r\n\r\n[OTHER]\r\nCA_FILE=o\r\n"},
      {"a repeated section continues the first one",
       "[SYSTEM]\r\nA=1\r\n[X]\r\n[SYSTEM]\r\nCA_FILE=old\r\n",
       "[SYSTEM]\r\nA=1\r\nSERVICE_URL=https://s/\r\n[X]\r\n[SYSTEM]\r\nCA_FILE=Z:\\t\\ca\r\n"},
      {"no SYSTEM section", "[MAILLIST]\r\n",
       "[MAILLIST]\r\n[SYSTEM]\r\nSERVICE_URL=https://s/\r\nCA_FILE=Z:\\t\\ca\r\n"},
      {"empty file", "", "[SYSTEM]\r\nSERVICE_URL=https://s/\r\nCA_FILE=Z:\\t\\ca\r\n"},
      {"LF, lone CR and no final line end become CR LF", "[SYSTEM]\nCA_FILE=x\rSERVICE_URL=y",
       "[SYSTEM]\r\nCA_FILE=Z:\\t\\ca\r\nSERVICE_URL=https://s/\r\n"},
      // "[メモゾ" ends in the byte of "]" but is no section header to the program.
      {"lines are read as the program decodes them",
       "[SYSTEM]\r\n[\x83\x81\x83\x82\x83\x5D\r\nSERVICE_URL=old\r\nCA_FILE=old\r\n",
       "[SYSTEM]\r\n[\x83\x81\x83\x82\x83\x5D\r\nSERVICE_URL=https://s/\r\nCA_FILE=Z:\\t\\ca\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SetSystemLines(c.before, keys), c.after) << c.name;
  }
  EXPECT_EQ(SetSystemLines("[SYSTEM]\nA=1\n", {}), "[SYSTEM]\r\nA=1\r\n") << "nothing to set";
}

TEST(InstalledText, IsCodePage932WithCrLf) {
  EXPECT_EQ(InstalledText("表示ソフト\n\nA\n"), kSoftwareCp932 + "\r\n\r\nA\r\n");
  EXPECT_THROW(InstalledText("\xFF\n"), LayoutError);
}

}  // namespace
}  // namespace tavisnap::layout
