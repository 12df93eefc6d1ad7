#include "setup/install_flow.h"

namespace tavisnap {

void InstallFlow::Install() {
  if (waiting_) return;
  if (!host_.ConfirmInstall()) return;
  if (!host_.ProgramRunning()) {
    Finish();
    return;
  }
  host_.QuitProgram();
  checks_ = 0;
  Check();
}

void InstallFlow::WaitEnded() {
  if (!waiting_) return;
  waiting_ = false;
  // After the last wait the installer starts whether or not the program has ended.
  if (checks_ >= kChecks) {
    Finish();
  } else {
    Check();
  }
}

void InstallFlow::Check() {
  ++checks_;
  if (!host_.ProgramRunning()) {
    Finish();
    return;
  }
  waiting_ = true;
  host_.StartWait(kWaitMillis);
}

void InstallFlow::Finish() {
  // A running Tavisnap has been ended by now, so the user must learn that nothing is being
  // installed; the launcher stays, to try again or to cancel.
  if (!host_.StartInstaller()) {
    host_.ReportInstallerNotStarted();
    return;
  }
  host_.CloseLauncher();
}

}  // namespace tavisnap
