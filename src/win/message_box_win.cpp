#include "win/message_box_win.h"

#include "win/text_win.h"

namespace tavisnap {

int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  // A system-modal box keeps its own mode: the two mode bits together mean neither.
  if ((flags & MB_MODEMASK) == 0) flags |= MB_TASKMODAL;
  return ShowMessageBox(nullptr, text, caption, flags);
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags);
}

}  // namespace tavisnap
