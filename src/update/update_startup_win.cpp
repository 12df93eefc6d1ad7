#include "update/update_startup_win.h"

#include <shellapi.h>

#include <functional>
#include <string>

#include "core/define.h"
#include "service/tls_policy.h"
#include "update/latest_version.h"
#include "update/updater.h"
#include "update/version_info.h"
#include "update/worker_call.h"
#include "win/text_win.h"
#include "win/window_win.h"

namespace tavisnap {
namespace {

// Keeps the splash painted while the worker waits for the server.
void PumpBriefly() {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  ProcessPendingMessages();
}

}  // namespace

void CheckForUpdate(HWND owner, Prompter& prompter) {
  CurrentVersion = GetCurrentVersion();
  // What the worker needs is read here, on this thread; it touches no globals.
  const std::string updateUrl = SysInfo.UpdateUrl;
  const std::string folder = LocalDataDir;
  const std::string caPem = ReadExtraAuthorities();
  LatestVersion =
      CallOnWorker<std::string>([&] { return FetchLatestVersion(updateUrl, caPem); }, PumpBriefly);
  UpdateActions actions;
  actions.download = [&] {
    return CallOnWorker<bool>([&] { return DownloadUpdater(updateUrl, folder, caPem); },
                              PumpBriefly);
  };
  actions.startUpdater = [&] {
    std::wstring path = Widen(folder + kUpdaterFileName);
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof start;
    // No box of the shell's before ours; and the process ends right after a start, so the
    // start must be complete when the call returns.
    start.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    start.hwnd = owner;
    start.lpVerb = L"open";
    start.lpFile = path.c_str();
    start.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&start) != FALSE;
  };
  if (OfferUpdate(CurrentVersion, LatestVersion, updateUrl, prompter, actions) ==
      UpdateOffer::Started) {
    ExitProcess(0);
  }
}

}  // namespace tavisnap
