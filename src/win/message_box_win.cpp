#include "win/message_box_win.h"

#include "win/text_win.h"

namespace tavisnap {

int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  return MessageBoxW(nullptr, Widen(text).c_str(), Widen(caption).c_str(), flags | MB_TASKMODAL);
}

}  // namespace tavisnap
