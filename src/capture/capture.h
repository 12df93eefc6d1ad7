// Taking the screen picture into the capture file, and the capture folder's upkeep.
// Paths are UTF-8; the folder and file are the globals CaptureDir and CaptureFile.
#pragma once

#include <string>

namespace tavisnap {

inline constexpr const char* kCaptureError = "画面を取り込めません";
inline constexpr const char* kCaptureDirCreateError = "キャプチャーフォルダーを作成できません";
inline constexpr const char* kCaptureDirRemoveError = "キャプチャーフォルダーを削除できません";

// The primary display with the pointer, as a JPEG at fileName (replaced whole).
// Throws AppError when the screen cannot be read or the file cannot be written.
void CaptureDesktop(const std::string& fileName);

// The foreground window's rectangle, frame included, with the pointer when it lies in
// the window. Without a readable foreground window the desktop is taken.
void CaptureActiveWindow(const std::string& fileName);

// Creates CaptureDir (one level) unless it is a directory already.
// Throws AppError(kCaptureDirCreateError).
void EnsureCaptureDir();

// Deletes CaptureFile if it can, then removes CaptureDir; a folder that is missing or
// still holds something throws AppError(kCaptureDirRemoveError).
void DeleteCaptureFile();

}  // namespace tavisnap
