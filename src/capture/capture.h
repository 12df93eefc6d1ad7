// Taking the screen picture into the capture file. Paths are UTF-8; the folder and file
// are the globals CaptureDir and CaptureFile (their upkeep: core/capture_folder.h).
#pragma once

#include <string>

#include "imaging/picture.h"

namespace tavisnap {

inline constexpr const char* kCaptureError = "画面を取り込めません";

// A window of the system (an HWND on Windows), held without the system's headers.
using WindowHandle = void*;

// What a capture wrote into the file, for the checks and the receipt that follow it.
struct CapturedPicture {
  Picture picture;
  std::string windowTitle;        // of `window` (UTF-8); empty for the desktop
  WindowHandle window = nullptr;  // the window taken; null for the desktop
  // The window in front when the picture was taken, the desktop's too: the one whose
  // accessibility tree tells what the user heard.
  WindowHandle front = nullptr;
  // Its control with the keyboard focus then: the focus has left it by the time the
  // panel reads the window.
  WindowHandle focus = nullptr;
};

// The primary display with the pointer, as a JPEG at fileName (replaced whole).
// Throws AppError when the screen cannot be read or the file cannot be written.
CapturedPicture CaptureDesktop(const std::string& fileName);

// The window's rectangle, frame included, with the pointer when it lies in the window.
// Without a readable window rectangle the desktop is taken.
CapturedPicture CaptureWindow(const std::string& fileName, WindowHandle window);

// CaptureWindow of the foreground window, asked for once.
CapturedPicture CaptureActiveWindow(const std::string& fileName);

}  // namespace tavisnap
