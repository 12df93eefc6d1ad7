// The session rule and answer test of each command, and forms built with wrong values.
// (Field order on the wire: commands_wire_test.cpp.)
#include <gtest/gtest.h>

#include <stdexcept>

#include "service/commands.h"

namespace tavisnap::testing {
namespace {

TEST(CommandForms, SessionRuleAndCodeTestPerCommand) {
  using enum ServiceCommand;
  struct Expect {
    ServiceCommand command;
    bool relogin;
    CodeTest test;
  };
  const Expect expected[] = {
      {SubmitLoginDo, false, CodeTest::kFirstCharacter},
      {SubmitMailRegistComp, false, CodeTest::kWholeText},
      {SubmitPwdReNotifyExpiredComp, false, CodeTest::kFirstCharacter},
      {SubmitPwdReNotify, true, CodeTest::kFirstCharacter},
      {SubmitMailEditComp, true, CodeTest::kWholeText},
      {SubmitPwdEditComp, true, CodeTest::kWholeText},
      {SubmitBasicAuth, true, CodeTest::kFirstCharacter},
      {SubmitDelete, true, CodeTest::kFirstCharacter},
      {SubmitCapUpComp, true, CodeTest::kUpload},
  };
  ASSERT_EQ(AllCommands().size(), std::size(expected));
  for (const Expect& e : expected) {
    const CommandSpec& entry = CommandInfo(e.command);
    EXPECT_EQ(entry.relogin_first, e.relogin) << entry.name;
    EXPECT_EQ(entry.code_test, e.test) << entry.name;
  }
}

TEST(CommandForms, AWrongNumberOfValuesIsRefusedWithItsReason) {
  try {
    BuildForm(ServiceCommand::SubmitLoginDo, {"only-the-mail"});
    FAIL() << "no error";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "SubmitLoginDo: expects 2 values, got 1");
  }
  EXPECT_THROW(BuildForm(ServiceCommand::SubmitPwdReNotify, {"x"}), std::invalid_argument);
  EXPECT_THROW(BuildForm(ServiceCommand::SubmitCapUpComp, {"to", "file"}, true),
               std::invalid_argument);
}

}  // namespace
}  // namespace tavisnap::testing
