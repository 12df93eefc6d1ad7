#include "account/relogin.h"
#include "win/message_box_win.h"

namespace tavisnap {

bool Relogin() {
  Win32Prompter prompter;
  return Relogin(prompter);
}

}  // namespace tavisnap
