#include "core/settings_change.h"

#include "core/app_error.h"
#include "core/settings_file.h"

namespace tavisnap {

std::optional<std::string> SettingsChange::TrySave(const std::string& path) {
  try {
    SaveSettings(path, draft_);
  } catch (const AppError& error) {
    return error.what();
  }
  list_ = draft_;
  return std::nullopt;
}

bool SettingsChange::Save(const std::string& path, Prompter& prompter) {
  std::optional<std::string> error = TrySave(path);
  if (error) prompter.Warning(*error);
  return !error;
}

}  // namespace tavisnap
