// Menu captions and tray entry states decided from the settings.
#include "mainwindow/menu_state.h"

#include <gtest/gtest.h>

#include "core/define.h"

namespace tavisnap {
namespace {

TEST(MenuCaptions, TogglesNameWhatTheEntryWouldDo) {
  EXPECT_EQ(AutoLoginCaption(true), "自動ログインを解除する(&A)");
  EXPECT_EQ(AutoLoginCaption(false), "自動ログインを設定する(&A)");
  EXPECT_EQ(BasicAuthCaption(true), "BASIC認証を解除する(&B)");
  EXPECT_EQ(BasicAuthCaption(false), "BASIC認証を設定する(&B)");
}

TEST(TrayItems, BuiltWithOnlyTheViewerOnAndCreationTurnsItOff) {
  TrayItemStates states;
  EXPECT_EQ(states, (TrayItemStates{false, false, false, true}));
  states.Refresh(false);
  EXPECT_EQ(states, (TrayItemStates{false, false, false, false}));
}

TEST(TrayItems, SignInTurnsAllFourOnAndRefreshKeepsThem) {
  TrayItemStates states;
  states.Refresh(false);
  states.EnableSignedInItems();
  EXPECT_EQ(states, (TrayItemStates{true, true, true, true}));
  states.Refresh(true);
  EXPECT_EQ(states, (TrayItemStates{true, true, true, true}));
}

TEST(TrayItems, RefreshWhenSignedInOnlyAddsSetAndViewer) {
  TrayItemStates states;
  states.Refresh(false);
  states.Refresh(true);
  EXPECT_EQ(states, (TrayItemStates{false, false, true, true}));
}

TEST(TrayItems, RefreshBeforeSignInTakesBackTheStartUpViewer) {
  TrayItemStates states;
  states.Refresh(false);
  states.EnableViewer();
  EXPECT_EQ(states, (TrayItemStates{false, false, false, true}));
  states.Refresh(false);
  EXPECT_FALSE(states.viewer);
}

// The rule main_win.cpp applies; what the tray shows after a real start-up is checked from
// outside in tests/app/account_flow_win_test.cpp.
TEST(StartUp, EnablesTheViewerUnlessItSignsInAutomatically) {
  struct Case {
    int runMode;
    bool autoLogin;
    bool enables;
  } cases[] = {
      {kRunModeOffline, false, true},
      {kRunModeOffline, true, true},  // offline never signs in
      {kRunModeOnline, false, true},
      {kRunModeOnline, true, false},  // the sign-in enables it
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StartupEnablesViewer(c.runMode, c.autoLogin), c.enables)
        << "run mode " << c.runMode << ", automatic sign-in " << c.autoLogin;
  }
}

TEST(ResendEntries, NeedAKeptPictureAndASignedInOnlineProgram) {
  const struct {
    int runMode;
    bool signedIn;
    bool kept;
    bool enabled;
  } cases[] = {
      {kRunModeOnline, true, true, true},     {kRunModeOnline, true, false, false},
      {kRunModeOnline, false, true, false},   {kRunModeOffline, true, true, false},
      {kRunModeOffline, false, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResendEnabled(c.runMode, c.signedIn, c.kept), c.enabled)
        << c.runMode << " " << c.signedIn << " " << c.kept;
  }
}

TEST(TrayDoubleClickDecision, OfflineWarnsAccountWindowBlocksElseOpens) {
  EXPECT_EQ(DecideTrayDoubleClick(kRunModeOffline, false), TrayDoubleClick::OfflineWarning);
  EXPECT_EQ(DecideTrayDoubleClick(kRunModeOffline, true), TrayDoubleClick::OfflineWarning);
  EXPECT_EQ(DecideTrayDoubleClick(kRunModeOnline, true), TrayDoubleClick::Ignore);
  EXPECT_EQ(DecideTrayDoubleClick(kRunModeOnline, false), TrayDoubleClick::OpenRecipientPage);
}

}  // namespace
}  // namespace tavisnap
