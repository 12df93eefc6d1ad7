// BMP files of the viewer, read and written in memory without the platform.
//
// Reads the Windows and OS/2 1.x headers (12, 40, 52, 56, 108 and 124 bytes), bottom-up and
// top-down rows, 1-, 4- and 8-bit palettes, RLE8 and RLE4, 16- and 32-bit pixels with or
// without bit fields, and 24-bit pixels. Every size is checked against the file before memory
// is taken: a picture is allocated only when IsSupportedPictureSize accepts it and, for
// uncompressed rows, only when the file holds all of them.
#pragma once

#include <string>
#include <string_view>

#include "imaging/picture.h"

namespace tavisnap {

inline constexpr const char* kBmpTruncated =
    "ビットマップファイルを読み込めません（ファイルが途中で切れています）";
inline constexpr const char* kBmpBroken =
    "ビットマップファイルを読み込めません（ファイルが壊れています）";
inline constexpr const char* kBmpUnsupported =
    "ビットマップファイルを読み込めません（対応していない形式です）";
inline constexpr const char* kBmpTooLarge =
    "ビットマップファイルを読み込めません（画像が大きすぎます）";
inline constexpr const char* kBmpWriteError = "画像ファイルを書き込めません";

// Throws AppError with one of the texts above when the file is refused.
Picture DecodeBmp(std::string_view bytes);

// A 24-bit bottom-up file with a 40-byte header. An empty picture throws
// AppError(kBmpWriteError).
std::string EncodeBmp(const Picture& picture);

}  // namespace tavisnap
