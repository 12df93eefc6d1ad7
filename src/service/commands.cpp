#include "service/commands.h"

#include <stdexcept>

#include "core/define.h"
#include "service/transfer_thread_info.h"

namespace tavisnap {
namespace {

const ColumnReactions& ColumnOf(const CommandEntry& entry, Column column) {
  for (const ColumnReactions& c : entry.columns) {
    if (c.column == column) return c;
  }
  throw std::invalid_argument(std::string(entry.name) + ": no such set of messages");
}

Outcome CodeOutcome(char code) {
  switch (code) {
    case '1':
      return Outcome::Code1;
    case '2':
      return Outcome::Code2;
    case '3':
      return Outcome::Code3;
  }
  return Outcome::NoMatch;
}

Outcome MatchCode(const CommandEntry& entry, std::string_view text) {
  if (text.empty() || entry.codes.find(text.front()) == std::string_view::npos) {
    return Outcome::NoMatch;
  }
  switch (entry.code_test) {
    case CodeTest::FirstCharacter:
      return CodeOutcome(text.front());
    case CodeTest::WholeText:
      return text.size() == 1 ? CodeOutcome(text.front()) : Outcome::NoMatch;
    case CodeTest::Upload:
      return text.size() == 1 ? CodeOutcome(text.front()) : Outcome::AcceptedLonger;
  }
  return Outcome::NoMatch;
}

Reaction ReactionFor(const ColumnReactions& c, Outcome outcome) {
  switch (outcome) {
    case Outcome::Failed:
      return c.failed;
    case Outcome::NoMatch:
      return c.other;
    case Outcome::Code1:
      return c.code1;
    case Outcome::Code2:
      return c.code2;
    case Outcome::Code3:
      return c.code3;
    case Outcome::AcceptedLonger:
      return c.accepted_longer;
    case Outcome::Cancelled:
      return c.cancelled;
  }
  return {};
}

}  // namespace

const CommandEntry& CommandInfo(ServiceCommand command) {
  for (const CommandEntry& entry : AllCommands()) {
    if (entry.id == command) return entry;
  }
  throw std::invalid_argument("unknown service command");
}

std::string ActionUrl() {
  return BaseUrl + "action.php";
}

TTypFormDataArray BuildForm(ServiceCommand command, const std::vector<std::string>& values,
                            bool detailed) {
  const CommandEntry& entry = CommandInfo(command);
  const std::vector<FieldEntry>& fields =
      detailed && !entry.detail_fields.empty() ? entry.detail_fields : entry.fields;
  if (values.size() != fields.size()) {
    throw std::invalid_argument(std::string(entry.name) + ": expects " +
                                std::to_string(fields.size()) + " values, got " +
                                std::to_string(values.size()));
  }
  TTypFormDataArray form;
  form.reserve(fields.size() + 1);
  for (size_t i = 0; i < fields.size(); ++i) {
    form.push_back({fields[i].kind, std::string(fields[i].name), values[i]});
  }
  form.push_back({kFormText, std::string(entry.name), "1"});
  return form;
}

TTypFormDataArray LoginDoForm(const std::string& mail, const std::string& password) {
  return BuildForm(ServiceCommand::SubmitLoginDo, {mail, password});
}
TTypFormDataArray MailRegistCompForm(const std::string& mail, const std::string& mail_again) {
  return BuildForm(ServiceCommand::SubmitMailRegistComp, {mail, mail_again});
}
TTypFormDataArray PwdReNotifyExpiredCompForm(const std::string& mail) {
  return BuildForm(ServiceCommand::SubmitPwdReNotifyExpiredComp, {mail});
}
TTypFormDataArray PwdReNotifyForm() {
  return BuildForm(ServiceCommand::SubmitPwdReNotify, {});
}
TTypFormDataArray MailEditCompForm(const std::string& mail, const std::string& mail_again) {
  return BuildForm(ServiceCommand::SubmitMailEditComp, {mail, mail_again});
}
TTypFormDataArray PwdEditCompForm(const std::string& password, const std::string& again) {
  return BuildForm(ServiceCommand::SubmitPwdEditComp, {password, again});
}
TTypFormDataArray BasicAuthForm(bool on) {
  return BuildForm(ServiceCommand::SubmitBasicAuth, {on ? "ON" : "OFF"});
}
TTypFormDataArray DeleteForm(const std::string& mail) {
  return BuildForm(ServiceCommand::SubmitDelete, {mail});
}
TTypFormDataArray CapUpCompForm(const std::string& to, const std::string& file) {
  return BuildForm(ServiceCommand::SubmitCapUpComp, {to, file});
}
TTypFormDataArray CapUpCompDetailForm(const std::string& to, const std::string& cc,
                                      const std::string& bcc, const std::string& message,
                                      const std::string& file) {
  return BuildForm(ServiceCommand::SubmitCapUpComp, {to, cc, bcc, message, file}, true);
}

Evaluation EvaluateAnswer(ServiceCommand command, const HttpResult& answer, Column column) {
  const CommandEntry& entry = CommandInfo(command);
  const ColumnReactions& reactions = ColumnOf(entry, column);
  Evaluation e;
  e.outcome = answer.ok ? MatchCode(entry, answer.body) : Outcome::Failed;
  e.reaction = ReactionFor(reactions, e.outcome);
  return e;
}

void ShowReaction(const Reaction& reaction, Prompter& prompter,
                  const ForegroundHook& bring_forward) {
  if (!reaction.shown) return;
  if (reaction.foreground_first && bring_forward) bring_forward();
  prompter.Show(reaction.kind, std::string(reaction.text));
}

Outcome AnswerAndShow(ServiceCommand command, const HttpResult& answer, Prompter& prompter,
                      Column column, const ForegroundHook& bring_forward) {
  Evaluation e = EvaluateAnswer(command, answer, column);
  ShowReaction(e.reaction, prompter, bring_forward);
  return e.outcome;
}

Reaction ReloginFailedReaction(ServiceCommand command, Column column) {
  return ColumnOf(CommandInfo(command), column).relogin_failed;
}

bool ReloginSucceeded(Outcome outcome) {
  return outcome != Outcome::Failed && outcome != Outcome::Code2 && outcome != Outcome::Code3;
}

bool IsUploadAccepted(const HttpResult& answer) {
  return answer.status == 200 && !answer.body.empty() && answer.body.front() == '1';
}

Evaluation EvaluateUpload(bool success, std::string_view reply_text) {
  const ColumnReactions& reactions =
      ColumnOf(CommandInfo(ServiceCommand::SubmitCapUpComp), Column::Standard);
  Evaluation e;
  if (success) {
    e.outcome = reply_text == "1" ? Outcome::Code1 : Outcome::AcceptedLonger;
  } else {
    e.outcome = reply_text == kReplyCancel ? Outcome::Cancelled : Outcome::Failed;
  }
  e.reaction = ReactionFor(reactions, e.outcome);
  return e;
}

}  // namespace tavisnap
