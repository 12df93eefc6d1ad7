#include "mainwindow/menu_state.h"

#include <cstddef>

#include "core/define.h"

namespace tavisnap {

const std::array<HotKeyChoice, kHotKeyChoiceCount>& HotKeyChoices() {
  static const std::array<HotKeyChoice, kHotKeyChoiceCount> choices{{
      {"PS", "Ctl+PrintScreen(&K)", "Ctl+PrintScreen（設定中）(&K)"},
      {"P", "Ctl+Alt+P(&P)", "Ctl+Alt+P（設定中）(&P)"},
      {"O", "Ctl+Alt+O(&O)", "Ctl+Alt+O（設定中）(&O)"},
      {"S", "Ctl+Alt+S(&S)", "Ctl+Alt+S（設定中）(&S)"},
      {"C", "Ctl+Alt+C(&C)", "Ctl+Alt+C（設定中）(&C)"},
  }};
  return choices;
}

std::optional<int> HotKeyChoiceIndex(std::string_view code) {
  const auto& choices = HotKeyChoices();
  for (int i = 0; i < kHotKeyChoiceCount; ++i) {
    if (code == choices[static_cast<size_t>(i)].code) return i;
  }
  return std::nullopt;
}

std::string AutoLoginCaption(bool autoLogin) {
  return autoLogin ? "自動ログインを解除する(&A)" : "自動ログインを設定する(&A)";
}

std::string BasicAuthCaption(bool basicAuth) {
  return basicAuth ? "BASIC認証を解除する(&B)" : "BASIC認証を設定する(&B)";
}

void TrayItemStates::Refresh(bool signedIn) {
  if (signedIn) {
    set = viewer = true;
  } else {
    send = del = set = viewer = false;
  }
}

void TrayItemStates::EnableSignedInItems() {
  send = del = set = viewer = true;
}

void TrayItemStates::EnableViewer() {
  viewer = true;
}

bool StartupEnablesViewer(int runMode, bool autoLogin) {
  return runMode != kRunModeOnline || !autoLogin;
}

bool ResendEnabled(int runMode, bool signedIn, bool outboxHasEntries) {
  return runMode == kRunModeOnline && signedIn && outboxHasEntries;
}

TrayDoubleClick DecideTrayDoubleClick(int runMode, bool accountWindowVisible) {
  if (runMode == kRunModeOffline) return TrayDoubleClick::OfflineWarning;
  if (accountWindowVisible) return TrayDoubleClick::Ignore;
  return TrayDoubleClick::OpenRecipientPage;
}

}  // namespace tavisnap
