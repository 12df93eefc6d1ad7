#include "support/driver_win.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "support/sent_field.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

struct TopSearch {
  std::wstring cls, title;
  DWORD pid;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<TopSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (s->pid != 0 && pid != s->pid) return TRUE;
  if (s->visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
  if (!s->cls.empty() && ClassOf(hwnd) != s->cls) return TRUE;
  if (!s->title.empty() && TextOf(hwnd) != s->title) return TRUE;
  s->found.push_back(hwnd);
  return TRUE;
}

}  // namespace

std::string Env(const char* name) {
  std::wstring wname = Widen(name);
  DWORD n = GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
  if (n == 0) return {};
  std::wstring value(n, L'\0');
  n = GetEnvironmentVariableW(wname.c_str(), value.data(), n);
  value.resize(n);
  return Narrow(value);
}

std::string OutputDir() {
  std::string dir = Env("TAVISNAP_TEST_OUTPUT");
  if (dir.empty()) dir = ".";
  CreateDirectoryW(Widen(dir).c_str(), nullptr);
  return dir;
}

void Pump(Millis duration) {
  auto end = std::chrono::steady_clock::now() + duration;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  } while (std::chrono::steady_clock::now() < end);
}

bool WaitUntil(const std::function<bool()>& done, Millis timeout) {
  auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    Pump(20ms);
  }
  return true;
}

HWND FindTopWindow(const std::wstring& cls, const std::wstring& title, DWORD pid,
                   bool visibleOnly) {
  TopSearch s{cls, title, pid, visibleOnly, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
  return s.found.empty() ? nullptr : s.found.front();
}

HWND WaitForTopWindow(const std::wstring& cls, const std::wstring& title, DWORD pid, Millis timeout,
                      bool visibleOnly) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopWindow(cls, title, pid, visibleOnly)) != nullptr; },
            timeout);
  return found;
}

std::vector<HWND> TopWindows(DWORD pid) {
  TopSearch s{L"", L"", pid, false, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> out;
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

HWND FindChildByText(HWND parent, const std::wstring& text, const std::wstring& cls) {
  for (HWND child : Children(parent)) {
    if (!cls.empty() && ClassOf(child) != cls) continue;
    if (TextOf(child) == text) return child;
  }
  return nullptr;
}

HWND FindChildById(HWND parent, int id) {
  for (HWND child : Children(parent)) {
    if (GetDlgCtrlID(child) == id) return child;
  }
  return nullptr;
}

RECT RectIn(HWND child, HWND parent) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t buf[256] = {};
  GetClassNameW(hwnd, buf, 256);
  return buf;
}

std::wstring TextOf(HWND hwnd) {
  // WM_GETTEXT is marshalled across processes for every window; GetWindowText is not.
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return {};
  std::wstring text(len + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &got);
  text.resize(got);
  return text;
}

void SetText(HWND hwnd, const std::wstring& text) {
  SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool IsChecked(HWND checkbox) {
  return SendMessageW(checkbox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND checkbox, bool checked) {
  SendMessageW(checkbox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Click(HWND button) {
  HWND parent = GetParent(button);
  PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD vk, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  for (WORD vk : keys) add(vk, 0);
  for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) add(*it, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PostCommand(HWND window, int id) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void PostClose(HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
}

namespace {

// A message box is a dialog holding the text static of id 0xFFFF; the program's own
// windows may be dialogs too.
HWND FindMessageBox(DWORD pid) {
  TopSearch s{L"#32770", L"", pid, true, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
  for (HWND w : s.found) {
    HWND text = GetDlgItem(w, 0xFFFF);
    if (text && ClassOf(text) == L"Static") return w;
  }
  return nullptr;
}

}  // namespace

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, Millis timeout) {
  HWND box = nullptr;
  WaitUntil([&] { return (box = FindMessageBox(pid)) != nullptr; }, timeout);
  if (!box) return std::nullopt;
  MessageBoxInfo info;
  info.hwnd = box;
  info.caption = TextOf(box);
  info.topmost = (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  for (HWND child : Children(box)) {
    std::wstring cls = ClassOf(child);
    if (cls == L"Static" && GetDlgCtrlID(child) == 0xFFFF) info.text = TextOf(child);
    if (cls == L"Button" && IsWindowVisible(child)) info.buttons.push_back(TextOf(child));
  }
  return info;
}

void AnswerMessageBox(const MessageBoxInfo& box, int id) {
  HWND button = GetDlgItem(box.hwnd, id);
  PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  WaitUntil([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); }, 5s);
}

std::optional<MessageBoxInfo> ExpectMessageBox(DWORD pid, int answer, Millis timeout) {
  auto box = WaitForMessageBox(pid, timeout);
  if (box) AnswerMessageBox(*box, answer);
  return box;
}

std::optional<DWORD> Process::Wait(Millis timeout) {
  auto end = std::chrono::steady_clock::now() + timeout;
  while (WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) {
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    Pump(20ms);
  }
  DWORD code = 0;
  GetExitCodeProcess(handle, &code);
  return code;
}

void Process::Kill() {
  if (handle && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) {
    TerminateProcess(handle, 99);
    WaitForSingleObject(handle, 5000);
  }
}

Process::~Process() {
  Kill();
  if (handle) CloseHandle(handle);
}

std::unique_ptr<Process> Launch(const std::wstring& exe, const std::wstring& args,
                                const std::wstring& workdir) {
  std::wstring cmd = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workdir.empty() ? nullptr : workdir.c_str(), &si, &pi)) {
    throw std::runtime_error("cannot start " + Narrow(exe) + ": error " +
                             std::to_string(GetLastError()));
  }
  CloseHandle(pi.hThread);
  auto p = std::make_unique<Process>();
  p->handle = pi.hProcess;
  p->pid = pi.dwProcessId;
  return p;
}

std::string MakeTempDir(const std::string& prefix) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  for (int i = 0; i < 1000; ++i) {
    std::wstring dir = std::wstring(base) + Widen(prefix) + L"-" +
                       std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(i);
    if (CreateDirectoryW(dir.c_str(), nullptr)) return Narrow(dir) + "\\";
  }
  throw std::runtime_error("cannot create a temporary folder");
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(Widen(path)), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ExeDir() {
  wchar_t buf[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
  std::wstring path(buf, n);
  return Narrow(path.substr(0, path.find_last_of(L'\\') + 1));
}

std::string ServiceRecordedPassword(const std::string& mail) {
  std::istringstream accounts(ReadFileBytes(Env("TAVISNAP_SERVICE_STATE") + "\\accounts.tsv"));
  std::string line;
  while (std::getline(accounts, line)) {
    if (line.rfind(mail + "\t", 0) == 0) {
      std::string rest = line.substr(mail.size() + 1);
      return rest.substr(0, rest.find('\t'));
    }
  }
  return {};
}

std::vector<std::string> ServiceRequests() {
  std::filesystem::path folder =
      std::filesystem::path(Widen(Env("TAVISNAP_SERVICE_STATE"))) / L"requests";
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (entry.path().extension() == L".http") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());  // numbered with leading zeros: by name is by arrival
  std::vector<std::string> requests;
  for (const auto& file : files) requests.push_back(ReadFileBytes(Narrow(file.wstring())));
  return requests;
}

bool TrayIconPresent(HWND owner, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = id;
  data.uFlags = NIF_TIP;
  wcscpy(data.szTip, L"タビスナップ");
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

std::vector<std::string> ServiceSignInRequests() {
  std::vector<std::string> found;
  for (std::string& request : ServiceRequests()) {
    if (SentField(request, "SubmitLoginDo") == "1") found.push_back(std::move(request));
  }
  return found;
}

std::string Cp932(const std::string& utf8) {
  return Cp932(Widen(utf8));
}

std::string Cp932(const std::wstring& text) {
  int n = WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

ScreenGrab::ScreenGrab(const RECT& area, int bitCount, bool topDown) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  info_.bmiHeader.biSize = sizeof info_.bmiHeader;
  info_.bmiHeader.biWidth = width;
  info_.bmiHeader.biHeight = topDown ? -height : height;
  info_.bmiHeader.biPlanes = 1;
  info_.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
  screen_ = GetDC(nullptr);
  memory_ = CreateCompatibleDC(screen_);
  bitmap_ = CreateDIBSection(screen_, &info_, DIB_RGB_COLORS, &bits_, nullptr, 0);
  old_ = SelectObject(memory_, bitmap_);
  BitBlt(memory_, 0, 0, width, height, screen_, area.left, area.top, SRCCOPY);
  GdiFlush();
}

ScreenGrab::~ScreenGrab() {
  SelectObject(memory_, old_);
  DeleteObject(bitmap_);
  DeleteDC(memory_);
  ReleaseDC(nullptr, screen_);
}

size_t ScreenGrab::SizeBytes() const {
  const BITMAPINFOHEADER& h = info_.bmiHeader;
  const size_t stride = (static_cast<size_t>(h.biWidth) * h.biBitCount / 8 + 3) & ~size_t{3};
  return bits_ ? stride * static_cast<size_t>(std::abs(h.biHeight)) : 0;
}

std::vector<uint32_t> ScreenPixels(const RECT& area) {
  std::vector<uint32_t> pixels;
  if (area.right <= area.left || area.bottom <= area.top) return pixels;
  ScreenGrab copy(area, 32, true);
  const auto* p = static_cast<const uint32_t*>(copy.bits());
  if (p) pixels.assign(p, p + copy.SizeBytes() / sizeof(uint32_t));
  for (uint32_t& px : pixels) px &= 0xFFFFFF;
  return pixels;
}

std::vector<std::string> ServiceUploads(const std::string& mail) {
  std::filesystem::path folder =
      std::filesystem::path(Widen(Env("TAVISNAP_SERVICE_STATE"))) / L"uploads" / Widen(mail);
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (entry.is_directory()) found.push_back(Narrow(entry.path().wstring()));
  }
  std::sort(found.begin(), found.end());  // numbered with leading zeros
  return found;
}

std::string SaveScreenshot(const std::string& name, HWND window) {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (window) GetWindowRect(window, &r);
  ScreenGrab copy(r, 24, false);
  const DWORD imageSize = static_cast<DWORD>(copy.SizeBytes());
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof copy.header();
  fh.bfSize = fh.bfOffBits + imageSize;
  std::string bytes(reinterpret_cast<const char*>(&fh), sizeof fh);
  bytes.append(reinterpret_cast<const char*>(&copy.header()), sizeof copy.header());
  if (copy.bits()) bytes.append(static_cast<const char*>(copy.bits()), imageSize);
  std::string path = OutputDir() + "\\" + name + ".bmp";
  WriteFileBytes(path, bytes);
  return path;
}

}  // namespace tavisnap::testing
