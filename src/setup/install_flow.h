// What the launcher's install button does, step by step: the question, the quit message
// to a running Tavisnap, the checks a second apart while it ends, the installer, the
// end (or a warning, when the installer does not start). The window carries the steps
// out; the waits run on its timer, so that it keeps painting and answering meanwhile.
#pragma once

namespace tavisnap {

class InstallFlow {
 public:
  // Looks for the running program after the quit message at most this often, each look
  // that still finds it followed by a wait.
  static constexpr int kChecks = 11;
  static constexpr int kWaitMillis = 1000;

  class Host {
   public:
    virtual ~Host() = default;
    // The question; true on Yes.
    virtual bool ConfirmInstall() = 0;
    virtual bool ProgramRunning() = 0;
    virtual void QuitProgram() = 0;
    // Calls WaitEnded after that time, handling the window's messages meanwhile.
    virtual void StartWait(int millis) = 0;
    // True when the installer has started.
    virtual bool StartInstaller() = 0;
    virtual void ReportInstallerNotStarted() = 0;
    virtual void CloseLauncher() = 0;
  };

  explicit InstallFlow(Host& host) : host_(host) {}

  // The install button. Pressed again while the flow waits, it does nothing.
  void Install();
  void WaitEnded();
  bool Waiting() const { return waiting_; }

 private:
  void Check();
  void Finish();

  Host& host_;
  int checks_ = 0;
  bool waiting_ = false;
};

}  // namespace tavisnap
