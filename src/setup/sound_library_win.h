// The outside speech library "Soundp.dll": loaded by name when the launcher starts,
// released when it ends. Without it (or without its entry) the launcher stays silent.
#pragma once

#include <windows.h>

#include <string>

namespace tavisnap {

class SoundLibrary {
 public:
  SoundLibrary();
  SoundLibrary(const SoundLibrary&) = delete;
  SoundLibrary& operator=(const SoundLibrary&) = delete;
  ~SoundLibrary();

  bool Loaded() const { return module_ != nullptr; }
  // Hands the text (UTF-8) over in code page 932 with 0; failures are ignored.
  void Speak(const std::string& utf8) const noexcept;

 private:
  using SoundMessageEntry = int(WINAPI*)(const char* text, int flags);

  HMODULE module_ = nullptr;
  SoundMessageEntry soundMessage_ = nullptr;
};

}  // namespace tavisnap
