// The nine service commands: the fields of each form in wire order, how the answer is
// tested, and which message each outcome shows.
// Knows nothing of windows: messages go through Prompter, and bringing the main window
// to the front is a hook the caller passes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/prompter.h"
#include "service/form_data.h"
#include "service/http_transaction.h"

namespace tavisnap {

enum class ServiceCommand {
  SubmitLoginDo,
  SubmitMailRegistComp,
  SubmitPwdReNotifyExpiredComp,
  SubmitPwdReNotify,
  SubmitMailEditComp,
  SubmitPwdEditComp,
  SubmitBasicAuth,
  SubmitDelete,
  SubmitCapUpComp,
};

enum class CodeTest {
  FirstCharacter,  // "1x" is code "1"
  WholeText,       // only "1" is code "1"
  Upload,          // the first character decides acceptance, the whole text the message
};

// Which set of messages applies, where a command has more than one.
enum class Column {
  Standard,       // the commands with one set
  AccountWindow,  // SubmitLoginDo from the account window
  Relogin,        // SubmitLoginDo from Relogin
  SwitchOn,       // SubmitBasicAuth with "ON"
  SwitchOff,      // SubmitBasicAuth with "OFF"
};

enum class Outcome {
  Failed,   // no answer with status 200
  NoMatch,  // an answer no code matches, the empty one included
  Code1,
  Code2,
  Code3,
  AcceptedLonger,  // upload accepted, answer longer than "1"
  Cancelled,       // upload cancelled by the user
};

struct Reaction {
  bool shown = false;
  BoxKind kind = BoxKind::Information;
  std::string_view text;
  bool foreground_first = false;  // bring the main window in front before the box
};

struct ColumnReactions {
  Column column = Column::Standard;
  Reaction code1, code2, code3;
  Reaction other;                       // an answer that matches no code
  Reaction failed;                      // the transaction failed
  Reaction relogin_failed;              // after Relogin's own message; nothing was sent
  Reaction accepted_longer, cancelled;  // the upload only
};

struct FieldEntry {
  std::string_view name;
  uint8_t kind = kFormText;
};

struct CommandEntry {
  ServiceCommand id;
  std::string_view name;  // also the submit field, sent last with "1"
  CodeTest code_test;
  std::string_view codes;                 // the answer codes, e.g. "12"
  std::vector<FieldEntry> fields;         // before the submit field
  std::vector<FieldEntry> detail_fields;  // the upload's detailed form; empty elsewhere
  std::vector<ColumnReactions> columns;
};

const std::vector<CommandEntry>& AllCommands();
const CommandEntry& CommandInfo(ServiceCommand command);

// BaseUrl + "action.php", where every command goes.
std::string ActionUrl();

// Forms with their values in field order. BuildForm throws std::invalid_argument when
// the number of values does not fit the command's fields.
TTypFormDataArray BuildForm(ServiceCommand command, const std::vector<std::string>& values,
                            bool detailed = false);
TTypFormDataArray LoginDoForm(const std::string& mail, const std::string& password);
TTypFormDataArray MailRegistCompForm(const std::string& mail, const std::string& mail_again);
TTypFormDataArray PwdReNotifyExpiredCompForm(const std::string& mail);
TTypFormDataArray PwdReNotifyForm();
TTypFormDataArray MailEditCompForm(const std::string& mail, const std::string& mail_again);
TTypFormDataArray PwdEditCompForm(const std::string& password, const std::string& again);
TTypFormDataArray BasicAuthForm(bool on);
TTypFormDataArray DeleteForm(const std::string& mail);
TTypFormDataArray CapUpCompForm(const std::string& to, const std::string& file);
TTypFormDataArray CapUpCompDetailForm(const std::string& to, const std::string& cc,
                                      const std::string& bcc, const std::string& message,
                                      const std::string& file);

struct Evaluation {
  Outcome outcome = Outcome::NoMatch;
  Reaction reaction;
};

using ForegroundHook = std::function<void()>;

// What an answer means and which message it selects, without showing it (for callers
// that store something before the message). Throws std::invalid_argument for a column
// the command does not have.
Evaluation EvaluateAnswer(ServiceCommand command, const HttpResult& answer,
                          Column column = Column::Standard);
void ShowReaction(const Reaction& reaction, Prompter& prompter,
                  const ForegroundHook& bring_forward = {});
// Both at once; returns the outcome for the caller to act on.
Outcome AnswerAndShow(ServiceCommand command, const HttpResult& answer, Prompter& prompter,
                      Column column = Column::Standard, const ForegroundHook& bring_forward = {});

// The command's message after a failed Relogin (nothing is sent then).
Reaction ReloginFailedReaction(ServiceCommand command, Column column = Column::Standard);
// Relogin's rule: only a failed transaction and the codes "2" and "3" are failures.
bool ReloginSucceeded(Outcome outcome);

// The worker's test of an upload answer: status 200 and a first character "1".
bool IsUploadAccepted(const HttpResult& answer);
// The upload's outcome from the transfer result (ThrdInfo.Success, ThrdInfo.ReplyText).
Evaluation EvaluateUpload(bool success, std::string_view reply_text);

}  // namespace tavisnap
