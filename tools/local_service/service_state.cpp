#include "service_state.h"

#include <openssl/rand.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/codepage.h"
#include "core/file_util.h"

namespace fs = std::filesystem;

namespace tavisnap::local_service {
namespace {

std::string Numbered(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%06d", number);
  return text;
}

int NextNumber(const fs::path& dir) {
  int highest = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(dir, error)) {
    try {
      highest = std::max(highest, std::stoi(entry.path().stem().string()));
    } catch (const std::exception&) {
    }
  }
  return highest + 1;
}

std::string Extension(const std::string& filename) {
  size_t dot = filename.find_last_of('.');
  size_t slash = filename.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return ".bin";
  std::string ext = filename.substr(dot);
  bool plain = std::all_of(ext.begin() + 1, ext.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
  return plain && ext.size() <= 6 ? ext : ".bin";
}

}  // namespace

std::string RandomHex(int bytes) {
  std::vector<unsigned char> random(static_cast<size_t>(bytes));
  if (RAND_bytes(random.data(), bytes) != 1) throw std::runtime_error("no random bytes");
  std::string text;
  for (unsigned char b : random) {
    const char* digits = "0123456789abcdef";
    text.push_back(digits[b >> 4]);
    text.push_back(digits[b & 15]);
  }
  return text;
}

std::string NewPassword() {
  const std::string alphabet = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
  unsigned char random[8];
  if (RAND_bytes(random, sizeof random) != 1) throw std::runtime_error("no random bytes");
  std::string password;
  for (unsigned char b : random) password.push_back(alphabet[b % alphabet.size()]);
  return password;
}

bool LooksLikeMailAddress(const std::string& text) {
  const std::string allowed = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_-.@";
  if (text.empty() || text.size() > 200) return false;
  if (text.find_first_not_of(allowed) != std::string::npos) return false;
  if (text.front() == '@' || text.front() == '.' || text.back() == '@' || text.back() == '.') {
    return false;
  }
  return text.find('@') != std::string::npos && text.find('.') != std::string::npos;
}

ServiceState::ServiceState(std::string dir) : dir_(std::move(dir)) {
  fs::create_directories(dir_ + "/mail");
  fs::create_directories(dir_ + "/uploads");
  fs::create_directories(dir_ + "/spool");
  Load();
  mail_count_ = NextNumber(dir_ + "/mail") - 1;
}

void ServiceState::Load() {
  std::ifstream in(dir_ + "/accounts.tsv");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Account a;
    std::string basic, notices;
    if (!std::getline(fields, a.email, '\t') || !std::getline(fields, a.password, '\t')) continue;
    std::getline(fields, basic, '\t');
    std::getline(fields, notices, '\t');
    a.basic_auth = basic == "1";
    a.notices = notices.empty() ? 0 : std::atoi(notices.c_str());
    accounts_[a.email] = a;
  }
}

void ServiceState::Save() const {
  std::string text;
  for (const auto& [email, a] : accounts_) {
    text += a.email + "\t" + a.password + "\t" + (a.basic_auth ? "1" : "0") + "\t" +
            std::to_string(a.notices) + "\n";
  }
  if (!AtomicWriteFile(dir_ + "/accounts.tsv", text)) {
    throw std::runtime_error("cannot write accounts.tsv");
  }
}

void ServiceState::WriteMail(const std::string& to, const std::string& subject,
                             const std::string& text) {
  std::string mail = "To: " + to + "\nSubject: " + subject + "\n\n" + text + "\n";
  AtomicWriteFile(dir_ + "/mail/" + Numbered(++mail_count_) + ".txt", mail);
}

std::optional<std::string> ServiceState::Register(const std::string& email) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (accounts_.count(email)) return std::nullopt;
  Account a{email, NewPassword(), false, 0};
  accounts_[email] = a;
  Save();
  WriteMail(email, "registered", "password: " + a.password);
  return a.password;
}

void ServiceState::PutAccount(const Account& account) {
  std::lock_guard<std::mutex> lock(mutex_);
  accounts_[account.email] = account;
  Save();
}

std::optional<Account> ServiceState::Find(const std::string& email) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = accounts_.find(email);
  if (it == accounts_.end()) return std::nullopt;
  return it->second;
}

LoginResult ServiceState::Login(const std::string& email, const std::string& password,
                                std::string& session) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = accounts_.find(email);
  if (it == accounts_.end()) return LoginResult::kUnknownUser;
  if (it->second.password != password) return LoginResult::kWrongPassword;
  session = RandomHex(16);
  sessions_[session] = email;
  return LoginResult::kSignedIn;
}

std::optional<std::string> ServiceState::SessionUser(const std::string& session) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = sessions_.find(session);
  if (it == sessions_.end() || !accounts_.count(it->second)) return std::nullopt;
  return it->second;
}

bool ServiceState::RecordNotice(const std::string& email) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = accounts_.find(email);
  if (it == accounts_.end()) return false;
  ++it->second.notices;
  Save();
  WriteMail(email, "password notice", "password: " + it->second.password);
  return true;
}

bool ServiceState::ChangeEmail(const std::string& email, const std::string& new_email) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = accounts_.find(email);
  if (it == accounts_.end() || accounts_.count(new_email)) return false;
  Account a = it->second;
  a.email = new_email;
  accounts_.erase(it);
  accounts_[new_email] = a;
  for (auto& [session, user] : sessions_) {
    if (user == email) user = new_email;
  }
  std::error_code ignored;
  if (fs::exists(UploadRoot(email))) fs::rename(UploadRoot(email), UploadRoot(new_email), ignored);
  Save();
  return true;
}

void ServiceState::ChangePassword(const std::string& email, const std::string& password) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = accounts_.find(email);
  if (it == accounts_.end()) return;
  it->second.password = password;
  Save();
}

void ServiceState::SetBasicAuth(const std::string& email, bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = accounts_.find(email);
  if (it == accounts_.end()) return;
  it->second.basic_auth = on;
  Save();
}

std::string ServiceState::UploadRoot(const std::string& email) const {
  return dir_ + "/uploads/" + email;
}

std::string ServiceState::StoreUpload(const std::string& email, Form& form) {
  std::lock_guard<std::mutex> lock(mutex_);
  fs::create_directories(UploadRoot(email));
  std::string folder = UploadRoot(email) + "/" + Numbered(NextNumber(UploadRoot(email)));
  fs::create_directories(folder);
  std::string fields;
  for (FormPart& part : form.parts) {
    if (part.is_file) {
      std::string stored = "picture" + Extension(part.filename);
      fs::rename(part.spool_path, folder + "/" + stored);
      part.spool_path.clear();
      fields += part.name + "\t" + stored + "\t" + Cp932ToUtf8(part.filename) + "\t" +
                part.content_type + "\n";
    } else if (part.name == "txtMessage") {
      // ISO-2022-JP as sent; kept byte for byte.
      AtomicWriteFile(folder + "/message.iso2022jp", part.content);
      fields += part.name + "\tmessage.iso2022jp\n";
    } else {
      fields += part.name + "\t" + Cp932ToUtf8(part.content) + "\n";
    }
  }
  AtomicWriteFile(folder + "/fields.txt", fields);
  return folder;
}

std::vector<std::string> ServiceState::Uploads(const std::string& email) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> folders;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(UploadRoot(email), error)) {
    folders.push_back(entry.path().string());
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

int ServiceState::DeleteUploads(const std::string& email) {
  std::lock_guard<std::mutex> lock(mutex_);
  int count = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(UploadRoot(email), error)) {
    fs::remove_all(entry.path(), error);
    ++count;
  }
  return count;
}

void ServiceState::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  accounts_.clear();
  sessions_.clear();
  std::error_code ignored;
  for (const char* sub : {"/mail", "/uploads"}) {
    fs::remove_all(dir_ + sub, ignored);
    fs::create_directories(dir_ + sub, ignored);
  }
  mail_count_ = 0;
  Save();
}

}  // namespace tavisnap::local_service
