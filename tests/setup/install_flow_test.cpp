// The install button's steps: the question, the quit message, the checks a second apart
// and the installer.
#include "setup/install_flow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavisnap {
namespace {

// Records each step; ProgramRunning answers from a script (its last answer repeats).
class RecordingHost : public InstallFlow::Host {
 public:
  RecordingHost(bool yes, std::vector<bool> running) : yes_(yes), running_(std::move(running)) {}

  bool ConfirmInstall() override {
    Step("ask");
    return yes_;
  }
  bool ProgramRunning() override {
    Step("look");
    bool answer = !running_.empty() && running_.front();
    if (running_.size() > 1) running_.erase(running_.begin());
    return answer;
  }
  void QuitProgram() override { Step("quit"); }
  void StartWait(int millis) override {
    Step(millis == 1000 ? "wait" : "wait " + std::to_string(millis));
    waiting = true;
  }
  bool StartInstaller() override {
    Step("install");
    return installerStarts;
  }
  void ReportInstallerNotStarted() override { Step("report"); }
  void CloseLauncher() override { Step("close"); }

  std::string log;
  bool waiting = false;
  bool installerStarts = true;

 private:
  void Step(const std::string& step) { log += step + " "; }

  bool yes_;
  std::vector<bool> running_;
};

// Presses Install and lets every wait end, as the window's timer would.
std::string PressInstall(InstallFlow& flow, RecordingHost& host) {
  flow.Install();
  for (int guard = 0; host.waiting && guard < 100; ++guard) {
    host.waiting = false;
    flow.WaitEnded();
  }
  return host.log;
}

// The program found by the first look and the given number of checks, gone after them.
std::vector<bool> RunningFor(int looks) {
  std::vector<bool> running(static_cast<size_t>(looks), true);
  running.push_back(false);
  return running;
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(InstallFlow, QuitsARunningProgramAndWaitsAtMostElevenChecks) {
  struct Case {
    const char* name;
    bool yes;
    std::vector<bool> running;  // the first look, then each check
    std::string steps;
  };
  const Case cases[] = {
      {"No", false, {true}, "ask "},
      {"no program: no waiting", true, {false}, "ask look install close "},
      {"gone at the first check", true, RunningFor(1), "ask look quit look install close "},
      {"gone at the third check", true, RunningFor(3),
       "ask look quit look wait look wait look install close "},
      {"gone at the eleventh check", true, RunningFor(11),
       "ask look quit " + Repeat("look wait ", 10) + "look install close "},
      {"never gone", true, {true}, "ask look quit " + Repeat("look wait ", 11) + "install close "},
  };
  for (const Case& c : cases) {
    RecordingHost host(c.yes, c.running);
    InstallFlow flow(host);
    EXPECT_EQ(PressInstall(flow, host), c.steps) << c.name;
    EXPECT_FALSE(flow.Waiting()) << c.name;
  }
}

TEST(InstallFlow, AnInstallerThatDoesNotStartIsReportedAndTheLauncherStaysForAnotherTry) {
  RecordingHost host(true, {true, false});
  host.installerStarts = false;
  InstallFlow flow(host);
  EXPECT_EQ(PressInstall(flow, host), "ask look quit look install report ");
  host.installerStarts = true;
  host.log.clear();
  EXPECT_EQ(PressInstall(flow, host), "ask look install close ");
}

TEST(InstallFlow, InstallPressedAgainWhileWaitingDoesNothing) {
  RecordingHost host(true, {true});
  InstallFlow flow(host);
  flow.Install();
  ASSERT_TRUE(flow.Waiting());
  flow.Install();
  EXPECT_EQ(host.log, "ask look quit look wait ");
}

}  // namespace
}  // namespace tavisnap
