// The forms of the nine commands: field names, kinds and order, the submit field last.
#include <gtest/gtest.h>

#include <stdexcept>

#include "service/commands.h"

namespace tavisnap::testing {
namespace {

using Fields = std::vector<std::tuple<uint8_t, std::string, std::string>>;

Fields Of(const TTypFormDataArray& form) {
  Fields fields;
  for (const TTypFormData& item : form) fields.emplace_back(item.Kind, item.Name, item.Value);
  return fields;
}

constexpr uint8_t T = kFormText;
constexpr uint8_t F = kFormFile;

TEST(CommandForms, EachCommandSendsItsFieldsInOrderAndItsSubmitFieldLast) {
  EXPECT_EQ(Of(LoginDoForm("a@b.jp", "PW")),
            (Fields{{T, "username", "a@b.jp"}, {T, "password", "PW"}, {T, "SubmitLoginDo", "1"}}));
  EXPECT_EQ(Of(MailRegistCompForm("a@b.jp", "c@d.jp")),
            (Fields{{T, "txtEmail", "a@b.jp"},
                    {T, "txtEmail2", "c@d.jp"},
                    {T, "SubmitMailRegistComp", "1"}}));
  EXPECT_EQ(Of(PwdReNotifyExpiredCompForm("a@b.jp")),
            (Fields{{T, "txtUsername", "a@b.jp"}, {T, "SubmitPwdReNotifyExpiredComp", "1"}}));
  EXPECT_EQ(Of(PwdReNotifyForm()), (Fields{{T, "SubmitPwdReNotify", "1"}}));
  EXPECT_EQ(Of(MailEditCompForm("n@b.jp", "m@b.jp")),
            (Fields{{T, "txtEmailNew1", "n@b.jp"},
                    {T, "txtEmailNew2", "m@b.jp"},
                    {T, "SubmitMailEditComp", "1"}}));
  EXPECT_EQ(Of(PwdEditCompForm("NEW1", "NEW2")),
            (Fields{{T, "txtPasswd1", "NEW1"},
                    {T, "txtPasswd2", "NEW2"},
                    {T, "SubmitPwdEditComp", "1"}}));
  EXPECT_EQ(Of(BasicAuthForm(true)),
            (Fields{{T, "txtBasicAuth", "ON"}, {T, "SubmitBasicAuth", "1"}}));
  EXPECT_EQ(Of(BasicAuthForm(false)),
            (Fields{{T, "txtBasicAuth", "OFF"}, {T, "SubmitBasicAuth", "1"}}));
  EXPECT_EQ(Of(DeleteForm("a@b.jp")),
            (Fields{{T, "txtEmail", "a@b.jp"}, {T, "SubmitDelete", "1"}}));
}

TEST(CommandForms, TheUploadHasAShortAndADetailedShape) {
  EXPECT_EQ(Of(CapUpCompForm("to@b.jp;", "/c/capture.jpg")),
            (Fields{{T, "txtEmailTo[0]", "to@b.jp;"},
                    {F, "fileCapUp[0]", "/c/capture.jpg"},
                    {T, "SubmitCapUpComp", "1"}}));
  EXPECT_EQ(Of(CapUpCompDetailForm("to@b.jp", "", "bcc@b.jp", "\x1b$B$3\x1b(B", "/c/x.jpg")),
            (Fields{{T, "txtEmailTo[0]", "to@b.jp"},
                    {T, "txtEmailCc[0]", ""},
                    {T, "txtEmailBcc[0]", "bcc@b.jp"},
                    {T, "txtMessage", "\x1b$B$3\x1b(B"},
                    {F, "fileCapUp[0]", "/c/x.jpg"},
                    {T, "SubmitCapUpComp", "1"}}));
}

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
    const CommandSpec& spec = CommandInfo(e.command);
    EXPECT_EQ(spec.relogin_first, e.relogin) << spec.name;
    EXPECT_EQ(spec.code_test, e.test) << spec.name;
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
