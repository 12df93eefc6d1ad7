// JPEG files of the capture and the viewer, on libjpeg-turbo.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/file_util.h"
#include "imaging/picture.h"

namespace tavisnap {

inline constexpr const char* kJpegReadError = "画像ファイルを読み込めません";
inline constexpr const char* kJpegWriteError = "画像ファイルを書き込めません";

// A complete JFIF stream: quality 100, colour (YCbCr), baseline sequential, library
// defaults otherwise. An empty picture cannot be encoded: AppError(kJpegWriteError).
std::string EncodeJpeg(const Picture& picture);

// Called with the number of rows the encoder needs next; returns how many rows of the
// picture are filled, waiting until that many are. A smaller count than asked for ends
// the encoding: AppError(kJpegWriteError). It must not throw.
using RowsFilled = std::function<int(int needed)>;

// EncodeJpeg of a picture that another thread is still filling from the top, so that
// the encoding runs alongside the filling.
std::string EncodeJpegAsFilled(const Picture& picture, const RowsFilled& rowsFilled);

// Any JPEG the library reads; greyscale and CMYK come out as colour. Corrupt or
// truncated data, or a picture larger than IsSupportedPictureSize allows, throws
// AppError(kJpegReadError).
Picture DecodeJpeg(std::string_view bytes);

// Told how many rows from the top are decoded: 0 once the picture has its size, then
// more as the decoder goes down, the height at the end. Must not throw.
using RowsDecoded = std::function<void(int rows)>;

// DecodeJpeg into `picture`, telling rowsDecoded as rows are done, so that another thread
// can work on the rows above the decoder meanwhile. On AppError the picture may have been
// given the file's size and hold part of it.
void DecodeJpegInto(std::string_view bytes, Picture& picture, const RowsDecoded& rowsDecoded);

// Encodes and replaces the file whole (a new file beside it takes its name), so a failed
// write leaves the previous file as it was and a reader never sees half a picture.
// Throws AppError(kJpegWriteError).
void WriteJpegFile(const std::string& path, const Picture& picture,
                   FileDurability durability = FileDurability::kDurable);

// The file's bytes, undecoded. Throws AppError(kJpegReadError) when it cannot be read.
std::string ReadJpegBytes(const std::string& path);

// Throws AppError(kJpegReadError) when the file cannot be read or decoded.
Picture ReadJpegFile(const std::string& path);

}  // namespace tavisnap
