#include "service/local_service_fixture.h"

#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace tavisnap::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::string MakeTempDir() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "tavisnap-service.XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  return pattern;
}

// Reads the child's stdout until the "listening URL" line, for up to the time.
std::string WaitForUrl(int fd, std::chrono::seconds limit) {
  std::string out;
  Clock::time_point end = Clock::now() + limit;
  while (Clock::now() < end) {
    size_t newline = out.find('\n');
    if (newline != std::string::npos) {
      std::string line = out.substr(0, newline);
      if (line.rfind("listening ", 0) == 0) return line.substr(10);
      out.erase(0, newline + 1);
      continue;
    }
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char buffer[256];
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    out.append(buffer, static_cast<size_t>(n));
  }
  return {};
}

struct HostPort {
  std::string host;
  int port = 0;
};

HostPort Split(const std::string& url) {
  size_t start = url.find("://") + 3;
  size_t colon = url.rfind(':');
  size_t slash = url.find('/', colon);
  return {url.substr(start, colon - start), std::stoi(url.substr(colon + 1, slash - colon - 1))};
}

ControlReply ToReply(const httplib::Result& result) {
  if (!result) return {-1, httplib::to_string(result.error())};
  return {result->status, result->body};
}

std::unique_ptr<httplib::Client> Client(const std::string& url) {
  HostPort at = Split(url);
  auto client = std::make_unique<httplib::Client>(at.host, at.port);
  client->set_read_timeout(30, 0);
  return client;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

}  // namespace

std::string LocalService::Binary() {
#ifdef TAVISNAP_LOCAL_SERVICE_PATH
  return TAVISNAP_LOCAL_SERVICE_PATH;
#else
  const char* dir = std::getenv("TAVISNAP_BINARY_DIR");
  return std::string(dir ? dir : "build/native") + "/bin/local_service";
#endif
}

LocalService::LocalService(LocalServiceOptions options) {
  own_state_dir_ = options.state_dir.empty();
  state_dir_ = own_state_dir_ ? MakeTempDir() : options.state_dir;
  std::vector<std::string> args = {Binary(), "--port", "0", "--state", state_dir_};
  args.insert(args.end(), options.args.begin(), options.args.end());
  std::vector<char*> argv;  // made before fork: the child may only exec
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("pipe failed");
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out[1]);
  url_ = pid_ > 0 ? WaitForUrl(out[0], std::chrono::seconds(15)) : std::string();
  close(out[0]);
  std::ifstream plain(state_dir_ + "/plain-url.txt");
  std::getline(plain, plain_url_);
  if (url_.empty() || plain_url_.empty()) {
    Stop();
    throw std::runtime_error("the local service did not start: " + Binary());
  }
}

LocalService::~LocalService() {
  Stop();
}

void LocalService::Stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    Clock::time_point end = Clock::now() + std::chrono::seconds(5);
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (Clock::now() > end) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
  }
  if (own_state_dir_ && !state_dir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(state_dir_, ignored);
  }
}

ControlReply LocalService::Get(const std::string& path) {
  return ToReply(Client(plain_url_)->Get(("/" + path).c_str()));
}

ControlReply LocalService::Post(const std::string& path, const ControlParams& params) {
  httplib::MultipartFormDataItems items;
  for (const auto& [name, value] : params) items.push_back({name, value, "", ""});
  return ToReply(Client(plain_url_)->Post(("/" + path).c_str(), items));
}

void LocalService::Reset() {
  ControlReply reply = Post("_control/reset");
  if (reply.status != 200) {
    throw std::runtime_error("reset failed: " + std::to_string(reply.status) + " " + reply.body);
  }
}

void LocalService::SetBehaviour(const ControlParams& switches) {
  ControlReply reply = Post("_control/behaviour", switches);
  if (reply.status != 200) throw std::runtime_error("behaviour refused: " + reply.body);
}

std::string LocalService::Password(const std::string& user) {
  ControlReply reply = Post("_control/password", {{"user", user}});
  return reply.status == 200 ? reply.body : std::string();
}

void LocalService::AddAccount(const std::string& user, const std::string& password,
                              bool basic_auth) {
  ControlReply reply =
      Post("_control/account",
           {{"user", user}, {"password", password}, {"basic_auth", basic_auth ? "1" : "0"}});
  if (reply.status != 200) throw std::runtime_error("account refused: " + reply.body);
}

std::vector<std::string> LocalService::RequestIds() {
  return Lines(Get("_control/requests").body);
}

std::string LocalService::Request(const std::string& id) {
  ControlReply reply = Get("_control/requests/" + id);
  return reply.status == 200 ? reply.body : std::string();
}

}  // namespace tavisnap::testing
