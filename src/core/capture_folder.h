// The capture folder's upkeep: CaptureDir and CaptureFile, which the capture-send flow and
// the viewer both write, made on first need and removed after a send.
#pragma once

namespace tavisnap {

inline constexpr const char* kCaptureDirCreateError = "キャプチャーフォルダーを作成できません";
inline constexpr const char* kCaptureDirRemoveError = "キャプチャーフォルダーを削除できません";

// Creates CaptureDir, and the folders it lies in, unless it is a directory already.
// Throws AppError(kCaptureDirCreateError).
void EnsureCaptureDir();

// Deletes CaptureFile if it can, then removes CaptureDir; a folder that is missing or
// still holds something throws AppError(kCaptureDirRemoveError).
void DeleteCaptureFile();

}  // namespace tavisnap
