#include "mainwindow/menu_state.h"

#include "core/define.h"

namespace tavisnap {

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
