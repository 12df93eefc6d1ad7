#include "core/capture_folder.h"

#include <filesystem>
#include <system_error>

#include "core/app_error.h"
#include "core/define.h"
#include "core/file_util.h"

namespace tavisnap {

namespace fs = std::filesystem;

void EnsureCaptureDir() {
  fs::path dir = U8Path(CaptureDir);
  std::error_code ec;
  if (fs::is_directory(dir, ec)) return;
  // The user's local folder of the program is made on first need too.
  fs::create_directories(dir, ec);
  if (ec || !fs::is_directory(dir, ec)) throw AppError(kCaptureDirCreateError);
}

void DeleteCaptureFile() {
  std::error_code ec;
  fs::remove(U8Path(CaptureFile), ec);  // a file already gone or locked is passed over
  fs::path dir = U8Path(CaptureDir);
  // remove() would also delete a plain file of that name, and reports a missing path as
  // success; both are failures here.
  if (!fs::is_directory(fs::symlink_status(dir, ec)) || !fs::remove(dir, ec) || ec) {
    throw AppError(kCaptureDirRemoveError);
  }
}

}  // namespace tavisnap
