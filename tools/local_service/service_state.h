// The service's accounts, sessions, password notices and stored uploads. Accounts live in
// STATE/accounts.tsv, notices that a real service would mail in STATE/mail/, uploads in
// STATE/uploads/<address>/<number>/. Every method may be called from any thread.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "form.h"

namespace tavisnap::local_service {

struct Account {
  std::string email;
  std::string password;
  bool basic_auth = false;
  int notices = 0;
};

enum class LoginResult { kSignedIn, kUnknownUser, kWrongPassword };

class ServiceState {
 public:
  explicit ServiceState(std::string dir);

  // The new account's password, or nothing when the address is taken.
  std::optional<std::string> Register(const std::string& email);
  void PutAccount(const Account& account);
  std::optional<Account> Find(const std::string& email) const;
  // On success session holds the new session's identifier.
  LoginResult Login(const std::string& email, const std::string& password, std::string& session);
  std::optional<std::string> SessionUser(const std::string& session) const;

  bool RecordNotice(const std::string& email);
  bool ChangeEmail(const std::string& email, const std::string& new_email);
  void ChangePassword(const std::string& email, const std::string& password);
  void SetBasicAuth(const std::string& email, bool on);
  // Moves the form's files into a new upload folder of the account; returns the folder.
  std::string StoreUpload(const std::string& email, Form& form);
  std::vector<std::string> Uploads(const std::string& email) const;
  int DeleteUploads(const std::string& email);

  void Reset();
  const std::string& Dir() const { return dir_; }

 private:
  void Load();
  void Save() const;
  void WriteMail(const std::string& to, const std::string& subject, const std::string& text);
  std::string UploadRoot(const std::string& email) const;

  std::string dir_;
  mutable std::mutex mutex_;
  std::map<std::string, Account> accounts_;
  std::map<std::string, std::string> sessions_;  // session -> address
  int mail_count_ = 0;
};

// Upper-case letters and digits, as the service mails them.
std::string NewPassword();
// A random hexadecimal text of 2 * bytes characters.
std::string RandomHex(int bytes);
// Whether text could be a mail address the client accepts.
bool LooksLikeMailAddress(const std::string& text);

}  // namespace tavisnap::local_service
