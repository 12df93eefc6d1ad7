#include "update/updater.h"

#include <filesystem>
#include <system_error>

#include "core/ascii_text.h"
#include "core/file_util.h"
#include "service/http_get.h"
#include "update/version_compare.h"

namespace tavisnap {

bool IsHttpsUrl(const std::string& url) {
  constexpr std::string_view kScheme = "https://";
  return url.size() > kScheme.size() &&
         EqualsIgnoringCase(std::string_view(url).substr(0, kScheme.size()), kScheme);
}

bool DownloadUpdater(const std::string& updateUrl, const std::string& folder,
                     const std::string& caPem) {
  if (!IsHttpsUrl(updateUrl)) return false;
  try {
    HttpGetLimits limits;
    limits.totalMillis = kUpdaterTotalMillis;
    limits.stallSeconds = kUpdaterStallSeconds;
    limits.maxBytes = kMaxUpdaterBytes;
    auto body = HttpGetText(updateUrl + kUpdaterFileName, caPem, limits);
    if (!body || body->empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(U8Path(folder), ec);
    // Kept in memory until whole, then written in one replacing step.
    return AtomicWriteFile(folder + kUpdaterFileName, *body);
  } catch (...) {
    return false;
  }
}

void RemoveLeftoverUpdater(const std::string& folder, const std::string& mailId) {
  if (mailId.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(U8Path(folder + kUpdaterFileName), ignored);
}

UpdateOffer OfferUpdate(const std::string& current, const std::string& latest,
                        const std::string& updateUrl, Prompter& prompter,
                        const UpdateActions& actions) {
  if (latest.empty() || !IsHttpsUrl(updateUrl) || !IsNewerVersion(current, latest)) {
    return UpdateOffer::NotOffered;
  }
  if (!prompter.Show(BoxKind::UpdateQuestion, kUpdateQuestion)) return UpdateOffer::Declined;
  if (!actions.download()) {
    prompter.Show(BoxKind::UpdateFailed, kUpdateFailed);
    return UpdateOffer::DownloadFailed;
  }
  // An updater that does not start would otherwise leave the user with no program at all.
  if (!actions.startUpdater()) {
    prompter.Show(BoxKind::UpdateFailed, kUpdateFailed);
    return UpdateOffer::StartFailed;
  }
  return UpdateOffer::Started;
}

}  // namespace tavisnap
