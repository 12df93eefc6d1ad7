#include <windows.h>

#include <atomic>
#include <string>

#include "core/file_util.h"
#include "win/text_win.h"

namespace tavisnap {

bool AtomicWriteFile(const std::string& path, std::string_view bytes, FileDurability durability) {
  static std::atomic<unsigned> counter{0};
  std::wstring target = Widen(path);
  std::wstring temp =
      target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
  HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (ok && left > 0) {
    DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    ok = WriteFile(h, p, chunk, &written, nullptr) && written == chunk;
    p += written;
    left -= written;
  }
  const bool durable = durability == FileDurability::kDurable;
  ok = ok && (!durable || FlushFileBuffers(h));
  ok = CloseHandle(h) && ok;
  DWORD move = MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0);
  if (!ok || !MoveFileExW(temp.c_str(), target.c_str(), move)) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace tavisnap
