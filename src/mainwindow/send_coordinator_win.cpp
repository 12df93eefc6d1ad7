#include "mainwindow/send_coordinator_win.h"

#include "account/relogin.h"
#include "core/debug_log.h"
#include "core/define.h"
#include "core/foreground.h"
#include "service/form_http_win.h"
#include "service/transfer.h"

namespace tavisnap {
namespace {

constexpr UINT_PTR kTimerCaptureSend = 1;  // Timer_captureSend
constexpr UINT kCaptureSendInterval = 300;

}  // namespace

SendCoordinator::SendCoordinator() : hotKeys_(*this, *this, prompter_) {}

void SendCoordinator::SetSendPanel(SendPanel& panel) {
  // The bases are private, so optional's construction must be handed them.
  CaptureSendHost& host = *this;
  Uploader& uploader = *this;
  flow_.emplace(host, SystemScreenCapturer(), panel, uploader, prompter_, SendParam,
                [](std::string_view text) { DebugLog(text); });
  outbox_.emplace(DefaultOutboxDir());
  flow_->SetOutbox(&*outbox_);
}

void SendCoordinator::CaptureSend(int mode) {
  if (flow_) flow_->CaptureSend(mode);
}

void SendCoordinator::ResendOldest() {
  if (flow_) flow_->ResendOldest();
}

void SendCoordinator::SendViewerPicture(bool handedOver) {
  if (flow_) flow_->CaptureSendFromViewer(handedOver);
}

void SendCoordinator::OnTimer(UINT_PTR id) {
  if (id == kTimerCaptureSend && flow_) flow_->Timer_captureSendTimer();
}

bool SendCoordinator::Relogin() {
  return ::tavisnap::Relogin();
}

void SendCoordinator::BringToFront() {
  ForceForeground();
}

void SendCoordinator::SetHourglass(bool on) {
  if (on) {
    uploadWait_.Hold();
  } else {
    uploadWait_.Release();
  }
}

void SendCoordinator::SetMonitorTimer(bool enabled) {
  if (enabled) {
    SetTimer(window_->SendWindowHandle(), kTimerCaptureSend, kCaptureSendInterval, nullptr);
  } else {
    KillTimer(window_->SendWindowHandle(), kTimerCaptureSend);
  }
}

bool SendCoordinator::Register(int id, uint32_t modifiers, uint32_t vk) {
  return RegisterHotKey(window_->SendWindowHandle(), id, modifiers, vk) != FALSE;
}

void SendCoordinator::Unregister(int id) {
  UnregisterHotKey(window_->SendWindowHandle(), id);
}

void SendCoordinator::ShowTransferWindow() {
  if (FormHTTP) FormHTTP->Show();
}

bool SendCoordinator::RunTransfer(const std::string& url, const TTypFormDataArray& form) {
  return ::tavisnap::RunTransfer(url, form);
}

void SendCoordinator::CloseTransferWindow() {
  if (FormHTTP) FormHTTP->CloseAtOnce();
}

}  // namespace tavisnap
