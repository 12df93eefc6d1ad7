#include "viewer/picture_files.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "core/app_error.h"
#include "core/file_util.h"
#include "imaging/bmp_codec.h"
#include "imaging/jpeg_codec.h"

namespace tavisnap {
namespace {

std::string UpperExtension(const std::string& path) {
  const size_t nameStart = path.find_last_of("/\\:");
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (nameStart != std::string::npos && dot < nameStart)) return "";
  std::string ext = path.substr(dot);
  for (char& c : ext) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return ext;
}

std::string ReadBmpBytes(const std::string& path) {
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(U8Path(path), ec);
  if (!ec && size > kMaxBmpFileBytes) throw AppError(kBmpTooLarge);
  std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) throw AppError(kJpegReadError);
  return std::move(*bytes);
}

}  // namespace

PictureFileKind PictureFileKindOf(const std::string& path) {
  const std::string ext = UpperExtension(path);
  if (ext == ".BMP") return PictureFileKind::Bmp;
  if (ext == ".JPG" || ext == ".JPEG") return PictureFileKind::Jpeg;
  return PictureFileKind::Other;
}

Picture ReadPictureFile(const std::string& path, PictureFileKind kind) {
  if (kind == PictureFileKind::Jpeg) return ReadJpegFile(path);
  return DecodeBmp(ReadBmpBytes(path));
}

void WritePictureFile(const std::string& path, PictureFileKind kind, const Picture& picture) {
  if (kind == PictureFileKind::Jpeg) {
    WriteJpegFile(path, picture);
    return;
  }
  if (!AtomicWriteFile(path, EncodeBmp(picture))) throw AppError(kBmpWriteError);
}

}  // namespace tavisnap
