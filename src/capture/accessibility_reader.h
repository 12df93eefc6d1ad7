// Reading a window's accessibility tree, the text a screen reader speaks, into plain
// records, through a small interface so that the send panel's logic runs without it.
#pragma once

#include "capture/reader_text.h"

namespace tavisnap {

enum class ReadResult {
  Read,
  Gone,        // the window no longer exists
  Unreadable,  // not responding, or it offers no accessibility tree
};

struct ReaderReading {
  ReadResult result = ReadResult::Unreadable;
  ReaderTree tree;
};

class AccessibilityReader {
 public:
  virtual ~AccessibilityReader() = default;
  // The window is an HWND, focus the control of it that had the keyboard focus (or
  // null). Bounded in depth, count and time; which bound was hit is in the tree's limits.
  virtual ReaderReading Read(void* window, void* focus) = 0;
};

#ifdef _WIN32
// The system's accessibility objects (MSAA).
AccessibilityReader& SystemAccessibilityReader();
#endif

}  // namespace tavisnap
