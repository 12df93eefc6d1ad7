// Soundp.dll, the speech library the setup launcher loads: SoundMessage speaks a text in
// code page 932 through the Windows speech API when a voice is installed. When
// TAVISNAP_SOUNDP_LOG names a file, each call is also appended to it as one UTF-8 line,
// the integer, a tab and the text, so that tests can hear what would have been spoken.
#include <windows.h>
#include <sapi.h>

#include <string>

#include "win/text_win.h"

namespace {

std::wstring FromCodePage932(const char* text) {
  int n = MultiByteToWideChar(932, 0, text, -1, nullptr, 0);
  if (n <= 1) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(932, 0, text, -1, wide.data(), n);
  wide.resize(static_cast<size_t>(n - 1));
  return wide;
}

void AppendToLog(const std::wstring& text, int flags) {
  wchar_t path[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"TAVISNAP_SOUNDP_LOG", path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string line = std::to_string(flags) + "\t" + tavisnap::Narrow(text) + "\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

// The voice lives as long as the process: it speaks on after SoundMessage has returned,
// and releasing COM objects while the library is being unloaded is not safe.
ISpVoice* Voice() {
  static ISpVoice* voice = [] {
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(init) && init != RPC_E_CHANGED_MODE) return static_cast<ISpVoice*>(nullptr);
    ISpVoice* created = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(SpVoice), nullptr, CLSCTX_ALL, __uuidof(ISpVoice),
                                reinterpret_cast<void**>(&created)))) {
      return static_cast<ISpVoice*>(nullptr);
    }
    ISpObjectToken* token = nullptr;
    if (FAILED(created->GetVoice(&token)) || !token) {  // no voice installed
      created->Release();
      return static_cast<ISpVoice*>(nullptr);
    }
    token->Release();
    return created;
  }();
  return voice;
}

}  // namespace

// A new text interrupts the one being spoken, as a screen reader does when the focus moves.
extern "C" __declspec(dllexport) int WINAPI SoundMessage(const char* text, int flags) {
  if (!text) return 0;
  std::wstring wide = FromCodePage932(text);
  AppendToLog(wide, flags);
  if (ISpVoice* voice = Voice()) {
    voice->Speak(wide.c_str(), SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML, nullptr);
  }
  return 0;
}
