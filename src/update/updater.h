// The automatic update: the offer at start-up, the download of the updater
// "AutoUpdate.exe" into the user's local folder (the program folder is not the user's to
// write), and its removal on a later start.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "core/prompter.h"

namespace tavisnap {

inline constexpr char kUpdaterFileName[] = "AutoUpdate.exe";
inline constexpr char kUpdateQuestion[] =
    "現在のタビスナップが最新バージョンではありません\r\n自動アップデートを行いますか？";
inline constexpr char kUpdateFailed[] =
    "正常に自動アップデートが出来ませんでした\r\nタビスナップを起動します";
inline constexpr long kUpdaterStallSeconds = 15;
inline constexpr long kUpdaterTotalMillis = 5 * 60 * 1000;
inline constexpr size_t kMaxUpdaterBytes = 64 * 1024 * 1024;

// An executable is fetched only over verified https.
bool IsHttpsUrl(const std::string& url);

// Downloads updateUrl + "AutoUpdate.exe" to folder + "AutoUpdate.exe" (folder ends with its
// separator and is made when missing). The file takes its name only when it is complete;
// a failed download leaves an earlier file as it was and nothing else behind. Reads no
// globals, so it may run on a worker thread.
bool DownloadUpdater(const std::string& updateUrl, const std::string& folder,
                     const std::string& caPem);

// Deletes folder + "AutoUpdate.exe" when mailId is not empty; failures are ignored.
void RemoveLeftoverUpdater(const std::string& folder, const std::string& mailId);

struct UpdateActions {
  std::function<bool()> download;      // DownloadUpdater
  std::function<bool()> startUpdater;  // starts the downloaded updater; false when it did not
};

enum class UpdateOffer { NotOffered, Declined, Started, DownloadFailed, StartFailed };

// Asks the user when latest is newer than current and updateUrl is https; on OK downloads
// and starts the updater, or reports the failed download or start. The caller ends the
// process on Started; otherwise start-up goes on.
UpdateOffer OfferUpdate(const std::string& current, const std::string& latest,
                        const std::string& updateUrl, Prompter& prompter,
                        const UpdateActions& actions);

}  // namespace tavisnap
