// Starts the local test service (build/native/bin/local_service) for a native test, on a
// free port with its own state folder, and talks to its control interface. The process is
// stopped when the object goes. See tools/local_service/README.md for the switches.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace tavisnap::testing {

struct LocalServiceOptions {
  std::vector<std::string> args;  // more command-line options, e.g. {"--max-tls", "1.1"}
  std::string state_dir;          // empty: a new temporary folder, removed at the end
};

struct ControlReply {
  int status = -1;  // -1: no answer
  std::string body;
};

using ControlParams = std::vector<std::pair<std::string, std::string>>;

class LocalService {
 public:
  // Throws std::runtime_error when the service does not start within a few seconds.
  explicit LocalService(LocalServiceOptions options = {});
  ~LocalService();
  LocalService(const LocalService&) = delete;
  LocalService& operator=(const LocalService&) = delete;

  const std::string& Url() const { return url_; }  // https://127.0.0.1:PORT/
  std::string ActionUrl() const { return url_ + "action.php"; }
  std::string CaFile() const { return state_dir_ + "/ca.pem"; }
  const std::string& StateDir() const { return state_dir_; }
  const std::string& PlainUrl() const { return plain_url_; }  // the same service, http
  pid_t Pid() const { return pid_; }

  // Control requests, over plain HTTP so that they work with every TLS setting; path is
  // relative to the service's root, e.g. "_control/requests".
  ControlReply Get(const std::string& path);
  ControlReply Post(const std::string& path, const ControlParams& params = {});

  void Reset();                                      // accounts, uploads, records, switches
  void SetBehaviour(const ControlParams& switches);  // replaces all switches
  void ClearBehaviour() { SetBehaviour({}); }
  std::string Password(const std::string& user);  // empty when there is no account
  void AddAccount(const std::string& user, const std::string& password, bool basic_auth = false);
  std::vector<std::string> RequestIds();
  std::string Request(const std::string& id);  // raw bytes as received
  std::string LastRequest() { return Request("last"); }

  static std::string Binary();

 private:
  void Stop();

  pid_t pid_ = -1;
  std::string url_;
  std::string plain_url_;
  std::string state_dir_;
  bool own_state_dir_ = false;
};

}  // namespace tavisnap::testing
