#include "account/relogin.h"
#include "core/prompter_win.h"

namespace tavisnap {

bool Relogin() {
  Win32Prompter prompter;
  return Relogin(prompter);
}

}  // namespace tavisnap
