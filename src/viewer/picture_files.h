// The picture files the viewer opens and saves: BMP and JPEG, told apart by the extension.
// Paths are UTF-8.
#pragma once

#include <string>

#include "imaging/picture.h"

namespace tavisnap {

enum class PictureFileKind { Bmp, Jpeg, Other };

// ".BMP" is Bmp, ".JPG" and ".JPEG" are Jpeg, in any letter case; anything else (also no
// extension) is Other. The extension is what follows the last dot of the file name.
PictureFileKind PictureFileKindOf(const std::string& path);

// A BMP larger than any picture the program handles could be (100 million pixels of 32
// bits, with headroom for headers and padding) is refused before it is read.
inline constexpr uintmax_t kMaxBmpFileBytes = 401'000'000;

// Throws AppError with the decoder's text, or kJpegReadError's text when the file cannot
// be read. kind must not be Other.
Picture ReadPictureFile(const std::string& path, PictureFileKind kind);

// Replaces the file whole; a failure leaves a previous file as it was. JPEG at quality 100.
// Throws AppError. kind must not be Other.
void WritePictureFile(const std::string& path, PictureFileKind kind, const Picture& picture);

}  // namespace tavisnap
