#include "commands.h"

#include <functional>
#include <map>
#include <optional>

namespace tavisnap::local_service {
namespace {

constexpr const char* kNoCommand = "0";

using Handler = std::function<Answer(ServiceState&, Form&, const std::string& user)>;

Answer Text(std::string text) {
  return Answer{std::move(text), {}};
}

bool PrintableAscii(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < 0x21 || c > 0x7E) return false;
  }
  return true;
}

Answer MailRegist(ServiceState& state, Form& form) {
  std::string email = form.Text("txtEmail");
  if (email != form.Text("txtEmail2") || !LooksLikeMailAddress(email)) return Text(kNoCommand);
  return Text(state.Register(email) ? "1" : "2");
}

Answer LoginDo(ServiceState& state, Form& form) {
  std::string email = form.Text("username");
  std::string session;
  switch (state.Login(email, form.Text("password"), session)) {
    case LoginResult::kUnknownUser:
      return Text("2");
    case LoginResult::kWrongPassword:
      return Text("3");
    case LoginResult::kSignedIn:
      break;
  }
  // The third character tells the client whether basic authentication is on.
  std::optional<Account> account = state.Find(email);
  Answer answer = Text(account && account->basic_auth ? "1,1" : "1,0");
  answer.set_cookies.push_back(std::string(kSessionCookieName) + "=" + session + "; path=/");
  return answer;
}

Answer PwdReNotifyExpired(ServiceState& state, Form& form) {
  return Text(state.RecordNotice(form.Text("txtUsername")) ? "1" : "2");
}

Answer PwdReNotify(ServiceState& state, Form&, const std::string& user) {
  return Text(state.RecordNotice(user) ? "1" : "2");
}

Answer MailEdit(ServiceState& state, Form& form, const std::string& user) {
  std::string email = form.Text("txtEmailNew1");
  bool ok = email == form.Text("txtEmailNew2") && LooksLikeMailAddress(email) &&
            state.ChangeEmail(user, email);
  return Text(ok ? "1" : "2");
}

Answer PwdEdit(ServiceState& state, Form& form, const std::string& user) {
  std::string password = form.Text("txtPasswd1");
  if (password != form.Text("txtPasswd2") || !PrintableAscii(password)) return Text("2");
  state.ChangePassword(user, password);
  return Text("1");
}

Answer BasicAuth(ServiceState& state, Form& form, const std::string& user) {
  std::string value = form.Text("txtBasicAuth");
  if (value != "ON" && value != "OFF") return Text("2");
  state.SetBasicAuth(user, value == "ON");
  return Text("1");
}

Answer Delete(ServiceState& state, Form& form, const std::string& user) {
  if (form.Text("txtEmail") != user) return Text(kNoCommand);
  return Text(state.DeleteUploads(user) > 0 ? "1" : "2");
}

Answer CapUp(ServiceState& state, Form& form, const std::string& user) {
  const FormPart* picture = form.Find("fileCapUp[0]");
  if (form.Text("txtEmailTo[0]").empty() || !picture || !picture->is_file) return Text("2");
  state.StoreUpload(user, form);
  return Text("1");
}

const std::map<std::string, Handler>& SessionCommands() {
  static const std::map<std::string, Handler> commands = {
      {"SubmitPwdReNotify", PwdReNotify}, {"SubmitMailEditComp", MailEdit},
      {"SubmitPwdEditComp", PwdEdit},     {"SubmitBasicAuth", BasicAuth},
      {"SubmitDelete", Delete},           {"SubmitCapUpComp", CapUp},
  };
  return commands;
}

}  // namespace

std::string SessionFromCookie(const std::string& cookie_header) {
  std::string key = std::string(kSessionCookieName) + "=";
  size_t at = cookie_header.find(key);
  if (at == std::string::npos) return {};
  size_t begin = at + key.size();
  size_t end = cookie_header.find_first_of("; \t", begin);
  return cookie_header.substr(begin, end == std::string::npos ? end : end - begin);
}

Answer RunCommand(ServiceState& state, Form& form, const std::string& cookie_header) {
  for (const FormPart& part : form.parts) {
    if (part.is_file || part.content != "1") continue;
    if (part.name == "SubmitMailRegistComp") return MailRegist(state, form);
    if (part.name == "SubmitLoginDo") return LoginDo(state, form);
    if (part.name == "SubmitPwdReNotifyExpiredComp") return PwdReNotifyExpired(state, form);
    auto command = SessionCommands().find(part.name);
    if (command == SessionCommands().end()) continue;
    std::optional<std::string> user = state.SessionUser(SessionFromCookie(cookie_header));
    if (!user) return Text(kNoCommand);
    return command->second(state, form, *user);
  }
  return Text(kNoCommand);
}

}  // namespace tavisnap::local_service
