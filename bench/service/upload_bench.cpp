// Uploads a 200 MB file part to the local service with PostForm and with the curl command
// line, against the same server in the same run, and prints the throughput of each, their
// ratio and the growth of this process's peak memory while PostForm runs.
//
//   upload_bench [MEGABYTES] [ROUNDS]
#include <unistd.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/define.h"
#include "service/http_client_init.h"
#include "service/local_service_fixture.h"
#include "service/post_form.h"

namespace {

using Clock = std::chrono::steady_clock;
using tavisnap::TTypFormDataArray;

// A field of /proc/self/status, in KiB.
long StatusKiB(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::string(field).size() + 1);
  }
  return -1;
}

// Lets VmHWM start again from the present resident size (Linux 4.0 and later).
bool ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  return static_cast<bool>(clear);
}

void WriteFile(const std::string& path, long megabytes) {
  std::vector<char> block(1 << 20);
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 131 + (i >> 9));
  std::ofstream out(path, std::ios::binary);
  for (long i = 0; i < megabytes; ++i) {
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
  if (!out) throw std::runtime_error("cannot write " + path);
}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double RunCurl(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::vector<std::string> copy = args;
  for (std::string& arg : copy) argv.push_back(arg.data());
  argv.push_back(nullptr);
  Clock::time_point start = Clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("curl failed");
  return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  long megabytes = argc > 1 ? std::atol(argv[1]) : 200;
  int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  tavisnap::InitHttpClient();
  tavisnap::testing::LocalService service({{"--record-limit", "65536"}, ""});
  tavisnap::CaFile = service.CaFile();
  std::string file = service.StateDir() + "/upload.jpg";
  WriteFile(file, megabytes);
  TTypFormDataArray form = {{0, "txtEmailTo[0]", "to@example.jp"},
                            {1, "fileCapUp[0]", file},
                            {0, "SubmitCapUpComp", "1"}};
  std::vector<std::string> curl = {"curl",
                                   "-sS",
                                   "-o",
                                   "/dev/null",
                                   "--cacert",
                                   service.CaFile(),
                                   "-F",
                                   "txtEmailTo[0]=to@example.jp",
                                   "-F",
                                   "fileCapUp[0]=@" + file + ";type=image/jpeg",
                                   "-F",
                                   "SubmitCapUpComp=1",
                                   service.ActionUrl()};
  // Warm up: libraries, TLS and the page cache hold the file for both.
  tavisnap::PostForm(service.ActionUrl(), {{0, "SubmitDelete", "1"}});
  RunCurl(curl);

  double best_post = 1e9, best_curl = 1e9;
  long growth_kib = 0;
  bool peak_measured = ResetPeak();
  for (int round = 0; round < rounds; ++round) {
    long before = StatusKiB("VmRSS:");
    ResetPeak();
    Clock::time_point start = Clock::now();
    tavisnap::HttpResult result = tavisnap::PostForm(service.ActionUrl(), form);
    best_post = std::min(best_post, Seconds(start));
    growth_kib = std::max(growth_kib, StatusKiB("VmHWM:") - before);
    if (result.status != 200) throw std::runtime_error("PostForm failed");
    best_curl = std::min(best_curl, RunCurl(curl));
  }
  double mb = static_cast<double>(megabytes);
  std::printf(
      "upload of %ld MB, best of %d: PostForm %.1f MB/s (%.3f s), "
      "curl -F %.1f MB/s (%.3f s)\n",
      megabytes, rounds, mb / best_post, best_post, mb / best_curl, best_curl);
  std::printf("throughput ratio PostForm / curl -F: %.2f (goal >= 0.8)\n", best_curl / best_post);
  if (peak_measured) {
    std::printf("peak memory growth during PostForm: %.1f MB (goal <= 16 MB)\n",
                static_cast<double>(growth_kib) / 1024.0);
  } else {
    std::printf("peak memory growth during PostForm: not measurable (no /proc/self/clear_refs)\n");
  }
  return 0;
}
