// TSetup_Main, the launcher's one window: the agreement, reading it aloud, and the
// install and cancel buttons.
#pragma once

#include <windows.h>

#include <string>

#include "setup/install_flow.h"
#include "setup/sound_library_win.h"
#include "win/window_win.h"

namespace tavisnap {

class TSetup_Main : public Dialog, private InstallFlow::Host {
 public:
  explicit TSetup_Main(const SoundLibrary& sound, HICON icon);
  ~TSetup_Main() override;

  void Show();
  const DialogLayout* Layout() const override;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  void OnTimer(UINT_PTR id) override;
  void OnClose() override;

 private:
  void FormCreate();
  void FormShow();
  void BtnLicenseEnter();
  void BtnInstallEnter();
  void BtnCancelEnter();
  void SpeakCaption(int buttonId);
  void BtnLicenseClick();
  void BtnInstallClick();
  void BtnCancelClick();
  void Close();

  bool ConfirmInstall() override;
  bool ProgramRunning() override;
  void QuitProgram() override;
  void StartWait(int millis) override;
  bool StartInstaller() override;
  void ReportInstallerNotStarted() override;
  void CloseLauncher() override;

  const SoundLibrary& sound_;
  std::string spokenText_;
  InstallFlow installFlow_{*this};
};

}  // namespace tavisnap
