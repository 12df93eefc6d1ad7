// The answer test of each command, and forms built with wrong values.
// (Field order on the wire: commands_wire_test.cpp.)
#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "service/commands.h"

namespace tavisnap::testing {
namespace {

TEST(CommandForms, CodeTestPerCommand) {
  using enum ServiceCommand;
  const std::pair<ServiceCommand, CodeTest> expected[] = {
      {SubmitLoginDo, CodeTest::FirstCharacter},
      {SubmitMailRegistComp, CodeTest::WholeText},
      {SubmitPwdReNotifyExpiredComp, CodeTest::FirstCharacter},
      {SubmitPwdReNotify, CodeTest::FirstCharacter},
      {SubmitMailEditComp, CodeTest::WholeText},
      {SubmitPwdEditComp, CodeTest::WholeText},
      {SubmitBasicAuth, CodeTest::FirstCharacter},
      {SubmitDelete, CodeTest::FirstCharacter},
      {SubmitCapUpComp, CodeTest::Upload},
  };
  ASSERT_EQ(AllCommands().size(), std::size(expected));
  for (const auto& [command, test] : expected) {
    EXPECT_EQ(CommandInfo(command).code_test, test) << CommandInfo(command).name;
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
