// JPEG files of the capture and the viewer, on libjpeg-turbo.
#pragma once

#include <string>
#include <string_view>

#include "capture/picture.h"

namespace tavisnap {

inline constexpr const char* kJpegReadError = "画像ファイルを読み込めません";
inline constexpr const char* kJpegWriteError = "画像ファイルを書き込めません";

// A complete JFIF stream: quality 100, colour (YCbCr), baseline sequential, library
// defaults otherwise. An empty picture cannot be encoded: AppError(kJpegWriteError).
std::string EncodeJpeg(const Picture& picture);

// Any JPEG the library reads; greyscale and CMYK come out as colour. Corrupt or
// truncated data, or a picture larger than IsSupportedPictureSize allows, throws
// AppError(kJpegReadError).
Picture DecodeJpeg(std::string_view bytes);

// Encodes and replaces the file whole (a new file beside it takes its name), so a failed
// write leaves the previous file as it was and a reader never sees half a picture.
// Throws AppError(kJpegWriteError).
void WriteJpegFile(const std::string& path, const Picture& picture);

// Throws AppError(kJpegReadError) when the file cannot be read or decoded.
Picture ReadJpegFile(const std::string& path);

}  // namespace tavisnap
