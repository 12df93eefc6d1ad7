// Which outcome each answer has and which message it selects, command by command, with
// the texts as the user must see them.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "service/commands.h"
#include "support/fake_prompter.h"

namespace tavisnap::testing {
namespace {

using enum ServiceCommand;
constexpr BoxKind kInfo = BoxKind::Information;
constexpr BoxKind kWarn = BoxKind::Warning;
constexpr const char* kFailed = nullptr;  // stands for a failed transaction

struct Case {
  ServiceCommand command;
  Column column;
  const char* answer;  // status 200 with this text, or kFailed
  Outcome outcome;
  std::optional<ShownBox> box;
};

HttpResult Answer(const char* text) {
  HttpResult result;
  if (text == kFailed) {
    result.status = -1;
  } else {
    result.status = 200;
    result.ok = true;
    result.body = text;
  }
  return result;
}

std::string Describe(const Case& c) {
  return std::string(CommandInfo(c.command).name) + " column " +
         std::to_string(static_cast<int>(c.column)) + " answer " +
         (c.answer ? "\"" + std::string(c.answer) + "\"" : "failed");
}

void Check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    FakePrompter prompter;
    Outcome outcome = AnswerAndShow(c.command, Answer(c.answer), prompter, c.column);
    EXPECT_EQ(outcome, c.outcome) << Describe(c);
    std::vector<ShownBox> expected;
    if (c.box) expected.push_back(*c.box);
    EXPECT_EQ(prompter.boxes, expected) << Describe(c);
  }
}

constexpr const char* kNoUser = "ログインに失敗しました（ユーザーＩＤを確認してください）";
constexpr const char* kBadPassword = "ログインに失敗しました（パスワードを確認してください）";

TEST(CommandAnswers, SignInFromTheAccountWindowAndFromRelogin) {
  const Column aw = Column::kAccountWindow, re = Column::kRelogin;
  Check({
      {SubmitLoginDo, aw, "1", Outcome::kCode1, ShownBox{kInfo, "ログインできました"}},
      {SubmitLoginDo, aw, "1x1", Outcome::kCode1, ShownBox{kInfo, "ログインできました"}},
      {SubmitLoginDo, aw, "2", Outcome::kCode2, ShownBox{kWarn, kNoUser}},
      {SubmitLoginDo, aw, "3", Outcome::kCode3, ShownBox{kWarn, kBadPassword}},
      {SubmitLoginDo, aw, "4", Outcome::kNoMatch, std::nullopt},
      {SubmitLoginDo, aw, kFailed, Outcome::kFailed, ShownBox{kWarn, "通信エラー"}},
      {SubmitLoginDo, re, "1", Outcome::kCode1, std::nullopt},
      {SubmitLoginDo, re, "2", Outcome::kCode2, ShownBox{kWarn, kNoUser}},
      {SubmitLoginDo, re, "3xyz", Outcome::kCode3, ShownBox{kWarn, kBadPassword}},
      {SubmitLoginDo, re, "0", Outcome::kNoMatch, std::nullopt},
      {SubmitLoginDo, re, kFailed, Outcome::kFailed, ShownBox{kWarn, "通信エラー"}},
  });
}

TEST(CommandAnswers, RegistrationAndPasswordNoticeBeforeSignIn) {
  const Column st = Column::kStandard;
  Check({
      {SubmitMailRegistComp, st, "1", Outcome::kCode1,
       ShownBox{kInfo,
                "登録が完了しました、登録メールアドレス宛にログイン用のパスワードが送られてきます。"}},
      {SubmitMailRegistComp, st, "2", Outcome::kCode2,
       ShownBox{kWarn, "既に登録されています、ログインへお進みください"}},
      {SubmitMailRegistComp, st, "3", Outcome::kNoMatch, std::nullopt},
      {SubmitMailRegistComp, st, kFailed, Outcome::kFailed, ShownBox{kWarn, "新規登録失敗"}},
      {SubmitPwdReNotifyExpiredComp, st, "1", Outcome::kCode1,
       ShownBox{kInfo, "パスワードを再通知しました"}},
      {SubmitPwdReNotifyExpiredComp, st, "2", Outcome::kCode2,
       ShownBox{kWarn, "ユーザーが存在しません"}},
      {SubmitPwdReNotifyExpiredComp, st, "3", Outcome::kCode3,
       ShownBox{kWarn, "パスワードの再通知ができません"}},
      {SubmitPwdReNotifyExpiredComp, st, kFailed, Outcome::kFailed, ShownBox{kWarn, "通信エラー"}},
  });
}

TEST(CommandAnswers, AccountMaintenance) {
  const Column st = Column::kStandard;
  Check({
      {SubmitPwdReNotify, st, "1", Outcome::kCode1, ShownBox{kInfo, "パスワードを再通知しました"}},
      {SubmitPwdReNotify, st, "2", Outcome::kCode2,
       ShownBox{kWarn, "パスワードの再通知ができません"}},
      {SubmitPwdReNotify, st, "3", Outcome::kNoMatch, std::nullopt},
      {SubmitPwdReNotify, st, kFailed, Outcome::kFailed, ShownBox{kWarn, "通信エラー"}},
      // The refusal and the failure come in an information box.
      {SubmitMailEditComp, st, "1", Outcome::kCode1, ShownBox{kInfo, "ユーザーID変更完了"}},
      {SubmitMailEditComp, st, "2", Outcome::kCode2,
       ShownBox{kInfo, "ユーザーIDが変更できませんでした"}},
      {SubmitMailEditComp, st, kFailed, Outcome::kFailed, ShownBox{kInfo, "通信エラー"}},
      {SubmitPwdEditComp, st, "1", Outcome::kCode1, ShownBox{kInfo, "パスワード変更完了"}},
      {SubmitPwdEditComp, st, "2", Outcome::kCode2,
       ShownBox{kWarn, "パスワードが変更できませんでした"}},
      {SubmitPwdEditComp, st, kFailed, Outcome::kFailed, ShownBox{kWarn, "通信エラー"}},
      {SubmitDelete, st, "1", Outcome::kCode1, ShownBox{kInfo, "削除しました"}},
      {SubmitDelete, st, "2", Outcome::kCode2, ShownBox{kWarn, "削除する画像はありません"}},
      {SubmitDelete, st, "3", Outcome::kNoMatch, std::nullopt},
      {SubmitDelete, st, kFailed, Outcome::kFailed, ShownBox{kWarn, "通信エラー"}},
  });
}

TEST(CommandAnswers, BasicAuthenticationSaysWhatWasSwitched) {
  const Column on = Column::kSwitchOn, off = Column::kSwitchOff;
  Check({
      {SubmitBasicAuth, on, "1", Outcome::kCode1, ShownBox{kInfo, "BASIC認証を設定しました"}},
      {SubmitBasicAuth, off, "1", Outcome::kCode1, ShownBox{kInfo, "BASIC認証を解除しました"}},
      {SubmitBasicAuth, on, "2", Outcome::kCode2,
       ShownBox{kWarn, "BASIC認証が設定できませんでした"}},
      {SubmitBasicAuth, off, "2", Outcome::kCode2,
       ShownBox{kWarn, "BASIC認証が解除できませんでした"}},
      {SubmitBasicAuth, off, kFailed, Outcome::kFailed, ShownBox{kWarn, "通信エラー"}},
  });
}

TEST(CommandAnswers, WholeTextCommandsRefuseTrailingCharactersFirstCharacterOnesDoNot) {
  const Column st = Column::kStandard;
  Check({
      {SubmitMailRegistComp, st, "1x", Outcome::kNoMatch, std::nullopt},
      {SubmitMailEditComp, st, "1x", Outcome::kNoMatch, std::nullopt},
      {SubmitPwdEditComp, st, "1x", Outcome::kNoMatch, std::nullopt},
      {SubmitPwdEditComp, st, "2 ", Outcome::kNoMatch, std::nullopt},
      {SubmitDelete, st, "1x", Outcome::kCode1, ShownBox{kInfo, "削除しました"}},
      {SubmitPwdReNotify, st, "2x", Outcome::kCode2,
       ShownBox{kWarn, "パスワードの再通知ができません"}},
      {SubmitBasicAuth, Column::kSwitchOn, "1 OK", Outcome::kCode1,
       ShownBox{kInfo, "BASIC認証を設定しました"}},
  });
}

TEST(CommandAnswers, AnEmptyAnswerMatchesNothingAndShowsNothing) {
  for (const CommandSpec& entry : AllCommands()) {
    for (const ColumnReactions& column : entry.columns) {
      if (entry.id == SubmitCapUpComp) continue;  // its refusals are communication errors
      FakePrompter prompter;
      EXPECT_EQ(AnswerAndShow(entry.id, Answer(""), prompter, column.column), Outcome::kNoMatch)
          << entry.name;
      EXPECT_TRUE(prompter.boxes.empty()) << entry.name;
    }
  }
  EXPECT_TRUE(ReloginSucceeded(EvaluateAnswer(SubmitLoginDo, Answer(""), Column::kRelogin).outcome));
}

TEST(CommandAnswers, AStatusOtherThan200IsAFailureWhateverTheText) {
  HttpResult answer = Answer("1");
  answer.status = 500;
  answer.ok = false;
  FakePrompter prompter;
  EXPECT_EQ(AnswerAndShow(SubmitDelete, answer, prompter), Outcome::kFailed);
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{kWarn, "通信エラー"}}));
}

TEST(CommandAnswers, ReloginFailsOnlyOnFailureAndCodesTwoAndThree) {
  auto outcome = [](const char* text) {
    return EvaluateAnswer(SubmitLoginDo, Answer(text), Column::kRelogin).outcome;
  };
  EXPECT_TRUE(ReloginSucceeded(outcome("1")));
  EXPECT_TRUE(ReloginSucceeded(outcome("0")));
  EXPECT_TRUE(ReloginSucceeded(outcome("ok")));
  EXPECT_FALSE(ReloginSucceeded(outcome("2")));
  EXPECT_FALSE(ReloginSucceeded(outcome("3")));
  EXPECT_FALSE(ReloginSucceeded(outcome(kFailed)));
}

TEST(CommandAnswers, ReloginBringsTheMainWindowForwardBeforeItsCommunicationError) {
  std::vector<std::string> log;
  FakePrompter prompter;
  prompter.log = &log;
  auto forward = [&log] { log.push_back("forward"); };
  AnswerAndShow(SubmitLoginDo, Answer(kFailed), prompter, Column::kRelogin, forward);
  EXPECT_EQ(log, (std::vector<std::string>{"forward", "box 通信エラー"}));
  log.clear();
  AnswerAndShow(SubmitLoginDo, Answer("2"), prompter, Column::kRelogin, forward);
  AnswerAndShow(SubmitLoginDo, Answer(kFailed), prompter, Column::kAccountWindow, forward);
  EXPECT_EQ(log, (std::vector<std::string>{"box " + std::string(kNoUser), "box 通信エラー"}));
}

TEST(CommandAnswers, MessagesAfterAFailedRelogin) {
  struct Expect {
    ServiceCommand command;
    Column column;
    std::optional<ShownBox> box;
  };
  const Expect expected[] = {
      {SubmitPwdReNotify, Column::kStandard, ShownBox{kWarn, "パスワードの再通知ができません"}},
      {SubmitMailEditComp, Column::kStandard,
       ShownBox{kWarn, "ユーザーIDが変更できませんでした"}},
      {SubmitPwdEditComp, Column::kStandard,
       ShownBox{kWarn, "パスワードが変更できませんでした"}},
      {SubmitBasicAuth, Column::kSwitchOn, ShownBox{kWarn, "BASIC認証（認証エラー）"}},
      {SubmitBasicAuth, Column::kSwitchOff, ShownBox{kWarn, "BASIC認証（認証エラー）"}},
      {SubmitDelete, Column::kStandard, ShownBox{kWarn, "削除できませんでした"}},
      {SubmitCapUpComp, Column::kStandard, std::nullopt},
  };
  for (const Expect& e : expected) {
    FakePrompter prompter;
    ShowReaction(ReloginFailedReaction(e.command, e.column), prompter);
    std::vector<ShownBox> boxes;
    if (e.box) boxes.push_back(*e.box);
    EXPECT_EQ(prompter.boxes, boxes) << CommandInfo(e.command).name;
  }
}

TEST(CommandAnswers, UploadOutcomesAsTheSendMonitorReportsThem) {
  struct Expect {
    bool success;
    const char* reply;
    Outcome outcome;
    std::optional<ShownBox> box;
  };
  const Expect expected[] = {
      {true, "1", Outcome::kCode1, ShownBox{kInfo, "送信しました"}},
      {true, "1 queued", Outcome::kAcceptedLonger, std::nullopt},
      {false, "CANCEL", Outcome::kCancelled, ShownBox{kInfo, "送信をキャンセルしました"}},
      {false, "", Outcome::kFailed, ShownBox{kWarn, "通信エラー"}},
  };
  for (const Expect& e : expected) {
    FakePrompter prompter;
    Evaluation evaluation = EvaluateUpload(e.success, e.reply);
    ShowReaction(evaluation.reaction, prompter);
    EXPECT_EQ(evaluation.outcome, e.outcome) << e.reply;
    std::vector<ShownBox> boxes;
    if (e.box) boxes.push_back(*e.box);
    EXPECT_EQ(prompter.boxes, boxes) << e.reply;
  }
}

TEST(CommandAnswers, UploadAnswersFromTheServiceItself) {
  Check({
      {SubmitCapUpComp, Column::kStandard, "1", Outcome::kCode1, ShownBox{kInfo, "送信しました"}},
      {SubmitCapUpComp, Column::kStandard, "12", Outcome::kAcceptedLonger, std::nullopt},
      {SubmitCapUpComp, Column::kStandard, "2", Outcome::kNoMatch, ShownBox{kWarn, "通信エラー"}},
      {SubmitCapUpComp, Column::kStandard, "", Outcome::kNoMatch, ShownBox{kWarn, "通信エラー"}},
      {SubmitCapUpComp, Column::kStandard, kFailed, Outcome::kFailed, ShownBox{kWarn, "通信エラー"}},
  });
  HttpResult refused = Answer("1");
  refused.status = 302;
  refused.ok = false;
  EXPECT_FALSE(IsUploadAccepted(refused));
  EXPECT_TRUE(IsUploadAccepted(Answer("1")));
  EXPECT_TRUE(IsUploadAccepted(Answer("1 and more")));
  EXPECT_FALSE(IsUploadAccepted(Answer("")));
  EXPECT_FALSE(IsUploadAccepted(Answer("2")));
}

TEST(CommandAnswers, AColumnTheCommandLacksIsAProgrammingErrorNotASilentDefault) {
  EXPECT_THROW(EvaluateAnswer(SubmitLoginDo, Answer("1"), Column::kStandard),
               std::invalid_argument);
  EXPECT_THROW(EvaluateAnswer(SubmitDelete, Answer("1"), Column::kRelogin),
               std::invalid_argument);
  EXPECT_THROW(ReloginFailedReaction(SubmitBasicAuth), std::invalid_argument);
}

}  // namespace
}  // namespace tavisnap::testing
