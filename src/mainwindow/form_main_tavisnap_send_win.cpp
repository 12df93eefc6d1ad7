// The hotkeys and the capture-send flow on the main window: registration, the menu
// captions, WM_HOTKEY and the Send entries to CaptureSend, the upload's monitor timer,
// and the address book over the send panel's lists.
#include <optional>

#include "account/relogin.h"
#include "capture/capture_send.h"
#include "capture/hotkeys.h"
#include "capture/outbox.h"
#include "core/debug_log.h"
#include "core/define.h"
#include "core/foreground.h"
#include "mainwindow/form_main_tavisnap_win.h"
#include "mainwindow/mainwindow_resource.h"
#include "service/form_http_win.h"
#include "service/transfer.h"

namespace tavisnap {
namespace {

constexpr UINT_PTR kTimerCaptureSend = 1;  // Timer_captureSend
constexpr UINT kCaptureSendInterval = 300;

// The address book as the send panel uses it, over the panel's own six lists.
class PanelAddressBook final : public SendPanelAddressBook {
 public:
  PanelAddressBook(AddressBook& book, const SendPanelCombos& combos)
      : book_(book),
        dst_(combos.dstList),
        to_(combos.mailToList),
        cc_(combos.ccList),
        bcc_(combos.bccList),
        names_(combos.names),
        mailAdrs_(combos.mailAdrs) {}

  void FillLists() override { book_.FillSendPanelLists(dst_, to_, cc_, bcc_, names_, mailAdrs_); }
  std::string NameAt(int index) const override { return names_.Item(index); }
  std::string AddressAt(int index) const override { return mailAdrs_.Item(index); }
  bool SetCurrentRecipient(int index) override {
    return book_.SetCurrentRecipient(names_, mailAdrs_, index, true);
  }

 private:
  AddressBook& book_;
  ComboChoiceList dst_, to_, cc_, bcc_, names_, mailAdrs_;
};

}  // namespace

class TFormMainTavisnap::SendParts final : public CaptureSendHost,
                                           public HotKeyRegistrar,
                                           public HotKeyMenu,
                                           public Uploader {
 public:
  explicit SendParts(TFormMainTavisnap& window)
      : window_(window), hotKeys(*this, *this, window.prompter_) {}

  // The settings are loaded by now: the outbox's folder follows the program folder.
  void Connect(SendPanel& panel) {
    flow.emplace(*this, SystemScreenCapturer(), panel, *this, window_.prompter_, SendParam,
                 [](std::string_view text) { DebugLog(text); });
    outbox.emplace(DefaultOutboxDir());
    flow->SetOutbox(&*outbox);
  }

  // CaptureSendHost
  bool Relogin() override { return ::tavisnap::Relogin(); }
  void BringToFront() override { ForceForeground(); }
  void ShowRecipientSetup() override { window_.ShowRecipientSetup(); }
  void ShowViewer() override {
    if (window_.showViewer_) window_.showViewer_(false);
  }
  // Over the program's windows from the start of the upload until the monitor has seen
  // its end.
  void SetHourglass(bool on) override {
    if (on) {
      uploadWait_.Hold();
    } else {
      uploadWait_.Release();
    }
  }
  void SetMonitorTimer(bool enabled) override {
    if (enabled) {
      SetTimer(window_.hwnd(), kTimerCaptureSend, kCaptureSendInterval, nullptr);
    } else {
      KillTimer(window_.hwnd(), kTimerCaptureSend);
    }
  }
  void OutboxChanged() override { window_.RefreshResendEntries(); }

  // HotKeyRegistrar
  bool Register(int id, uint32_t modifiers, uint32_t vk) override {
    return RegisterHotKey(window_.hwnd(), id, modifiers, vk) != FALSE;
  }
  void Unregister(int id) override { UnregisterHotKey(window_.hwnd(), id); }

  // HotKeyMenu
  void SetCaption(const HotKeyMenuEntry& entry, const std::string& caption) override {
    MenuIdPair ids = MenuIdsOf(MenuAction::HotKey, entry.choice);
    window_.SetMenuCaption(entry.tray ? ids.trayId : ids.mainId, caption);
  }

  // Uploader
  void ShowTransferWindow() override {
    if (FormHTTP) FormHTTP->Show();
  }
  bool RunTransfer(const std::string& url, const TTypFormDataArray& form) override {
    return ::tavisnap::RunTransfer(url, form);
  }
  void CloseTransferWindow() override {
    if (FormHTTP) FormHTTP->CloseAtOnce();
  }

  HotKeys hotKeys;
  std::optional<CaptureSendFlow> flow;  // once the send panel exists
  std::optional<Outbox> outbox;

 private:
  TFormMainTavisnap& window_;
  WaitCursor uploadWait_;
};

void TFormMainTavisnap::SendPartsDeleter::operator()(SendParts* parts) const {
  delete parts;
}

TFormMainTavisnap::SendParts& TFormMainTavisnap::Send() {
  if (!send_) send_.reset(new SendParts(*this));
  return *send_;
}

void TFormMainTavisnap::SetSendPanel(SendPanel& panel) {
  Send().Connect(panel);
}

TFormSendPanel::AddressBookFactory TFormMainTavisnap::SendPanelAddressBookFactory() {
  return [this](const SendPanelCombos& combos) {
    return std::make_unique<PanelAddressBook>(addressBook_, combos);
  };
}

void TFormMainTavisnap::RegisterHotKeyPair() {
  Send().hotKeys.Start();
}

void TFormMainTavisnap::MarkCurrentHotKey() {
  Send().hotKeys.MarkCurrentChoice();
}

void TFormMainTavisnap::UnregisterHotKeyPair() {
  Send().hotKeys.Stop();
}

// Before the send panel exists there is nothing to send with; the request is dropped
// like any other outside Ready.
void TFormMainTavisnap::CaptureSend(int mode) {
  if (Send().flow) Send().flow->CaptureSend(mode);
}

void TFormMainTavisnap::SendViewerPicture(bool handedOver) {
  if (Send().flow) Send().flow->CaptureSendFromViewer(handedOver);
}

void TFormMainTavisnap::ResendOldest() {
  if (Send().flow) Send().flow->ResendOldest();
}

void TFormMainTavisnap::RefreshResendEntries() {
  // Read from the folder each time: it is the one record of what is kept.
  bool kept = Outbox(DefaultOutboxDir()).HasEntries();
  UINT state = ResendEnabled(RunMode, SysInfo.SignedIn, kept) ? MF_ENABLED : MF_GRAYED;
  EnableMenuItem(MainMenu(), IDM_MenuResend, MF_BYCOMMAND | state);
  EnableMenuItem(trayMenu_.get(), IDM_PMenuTrayResend, MF_BYCOMMAND | state);
}

void TFormMainTavisnap::PMenuTraySetHotKeyClick(int choice) {
  Send().hotKeys.Change(choice);
}

void TFormMainTavisnap::OnTimer(UINT_PTR id) {
  if (id == kTimerCaptureSend && Send().flow) Send().flow->Timer_captureSendTimer();
}

}  // namespace tavisnap
