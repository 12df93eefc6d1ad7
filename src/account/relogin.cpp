#include "account/relogin.h"

#include "core/define.h"
#include "core/foreground.h"
#include "service/commands.h"
#include "service/post_form.h"
#include "service/session_cookie.h"

namespace tavisnap {

bool Relogin(Prompter& prompter, const ForegroundFunction& foreground, const FormPoster& post) {
  SessionCookie.Set("");
  HttpResult result = post(ActionUrl(), LoginDoForm(SysInfo.MailId, SysInfo.Password));
  return ReloginSucceeded(
      AnswerAndShow(ServiceCommand::SubmitLoginDo, result, prompter, Column::Relogin, foreground));
}

bool Relogin(Prompter& prompter) {
  return Relogin(prompter, ForceForeground, PostForm);
}

}  // namespace tavisnap
