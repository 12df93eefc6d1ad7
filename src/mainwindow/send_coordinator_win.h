// The send side of the program: the hotkey pair, the capture-send flow with its outbox,
// and the upload's monitor timer. The composition root builds it before the main
// window, which registers the keys and timer on its own handle and forwards WM_HOTKEY,
// the Send and resend entries and the timer's ticks to it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "capture/capture_send.h"
#include "capture/capture_send_ports.h"
#include "capture/hotkeys.h"
#include "capture/outbox.h"
#include "core/prompter_win.h"
#include "win/wait_cursor_win.h"

namespace tavisnap {

// What the send side needs of the main window.
class SendWindow {
 public:
  virtual ~SendWindow() = default;
  // The window that receives WM_HOTKEY and the monitor's WM_TIMER.
  virtual HWND SendWindowHandle() const = 0;
  virtual void ShowRecipientSetup() = 0;
  // The viewer, not modal.
  virtual void ShowViewerModeless() = 0;
  virtual void SetHotKeyCaption(const HotKeyMenuEntry& entry, const std::string& caption) = 0;
  virtual void RefreshResendEntries() = 0;
};

class SendCoordinator final : private CaptureSendHost,
                              private HotKeyRegistrar,
                              private HotKeyMenu,
                              private Uploader {
 public:
  SendCoordinator();
  SendCoordinator(const SendCoordinator&) = delete;
  SendCoordinator& operator=(const SendCoordinator&) = delete;

  // The main window's creation, before it registers the hotkeys.
  void AttachWindow(SendWindow& window) { window_ = &window; }
  // The send panel, created after the main window: from then on the hotkeys and the Send
  // entries capture and send. The settings are loaded by now: the outbox's folder
  // follows the program folder.
  void SetSendPanel(SendPanel& panel);

  void StartHotKeys() { hotKeys_.Start(); }
  void MarkCurrentHotKey() { hotKeys_.MarkCurrentChoice(); }
  void StopHotKeys() { hotKeys_.Stop(); }
  void ChangeHotKey(int choice) { hotKeys_.Change(choice); }

  // WM_HOTKEY (the identifier is the capture mode) and the Send entries. Before the send
  // panel exists there is nothing to send with; the request is dropped like any other
  // outside Ready.
  void CaptureSend(int mode);
  void ResendOldest();
  // The viewer's Send: its picture is already in the capture file. handedOver: it is
  // the picture the send panel handed the viewer.
  void SendViewerPicture(bool handedOver);
  void OnTimer(UINT_PTR id);

 private:
  // CaptureSendHost
  bool Relogin() override;
  void BringToFront() override;
  void ShowRecipientSetup() override { window_->ShowRecipientSetup(); }
  void ShowViewer() override { window_->ShowViewerModeless(); }
  void SetHourglass(bool on) override;
  void SetMonitorTimer(bool enabled) override;
  void OutboxChanged() override { window_->RefreshResendEntries(); }

  // HotKeyRegistrar
  bool Register(int id, uint32_t modifiers, uint32_t vk) override;
  void Unregister(int id) override;

  // HotKeyMenu
  void SetCaption(const HotKeyMenuEntry& entry, const std::string& caption) override {
    window_->SetHotKeyCaption(entry, caption);
  }

  // Uploader
  void ShowTransferWindow() override;
  bool RunTransfer(const std::string& url, const TTypFormDataArray& form) override;
  void CloseTransferWindow() override;

  SendWindow* window_ = nullptr;
  Win32Prompter prompter_;
  HotKeys hotKeys_;
  std::optional<CaptureSendFlow> flow_;  // once the send panel exists
  std::optional<Outbox> outbox_;
  // Over the program's windows from the start of the upload until the monitor has seen
  // its end.
  WaitCursor uploadWait_;
};

}  // namespace tavisnap
