// The Prompter of the program: real message boxes.
#pragma once

#include <windows.h>

#include "core/prompter.h"

namespace tavisnap {

// The flags and caption each kind of box is shown with.
UINT MessageBoxFlags(BoxKind kind);
const char* MessageBoxCaption(BoxKind kind);

class Win32Prompter : public Prompter {
 public:
  bool Show(BoxKind kind, const std::string& text) override;
};

}  // namespace tavisnap
