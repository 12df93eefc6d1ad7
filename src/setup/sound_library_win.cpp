#include "setup/sound_library_win.h"

#include "win/text_win.h"

namespace tavisnap {
namespace {

std::string ToCodePage932(const std::string& utf8) {
  std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

}  // namespace

SoundLibrary::SoundLibrary() {
  // By name alone, so that the system's search order finds the library.
  module_ = LoadLibraryW(L"Soundp.dll");
  if (module_) {
    // Through void (*)(), to which any function type converts without a warning.
    soundMessage_ = reinterpret_cast<SoundMessageEntry>(
        reinterpret_cast<void (*)()>(GetProcAddress(module_, "SoundMessage")));
  }
}

SoundLibrary::~SoundLibrary() {
  if (module_) FreeLibrary(module_);
}

void SoundLibrary::Speak(const std::string& utf8) const noexcept {
  if (!soundMessage_) return;
  try {
    std::string text = ToCodePage932(utf8);
    soundMessage_(text.c_str(), 0);
  } catch (...) {
    // Speech is a help, never a condition: the launcher goes on silently.
  }
}

}  // namespace tavisnap
