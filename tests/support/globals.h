// The program's process-wide state back to what a fresh process starts with, so that no
// test sees what an earlier one left. Fixtures call one of these in SetUp, then set what
// their tests need, and again in TearDown.
#pragma once

#include "core/define.h"
#include "core/settings_list.h"
#include "service/session_cookie.h"

namespace tavisnap::testing {

inline void ResetGlobals() {
  SysInfo = TTypSysInfo{};
  AppDir.clear();
  MachineIniPath.clear();
  UserDataDir.clear();
  LocalDataDir.clear();
  IniPath.clear();
  CaptureDir.clear();
  CaptureFile.clear();
  BaseUrl.clear();
  CaFile.clear();
  HotKeyReady = "OFF";
  RunMode = kRunModeOffline;
  CurrentVersion.clear();
  LatestVersion.clear();
  Settings.Clear();
}

// The same and no session cookie, for tests that link the service.
inline void ResetServiceGlobals() {
  ResetGlobals();
  SessionCookie.Set("");
}

}  // namespace tavisnap::testing
