// Drives Tavisnap's windows from a test program running under Wine: finds windows,
// reads and sets control texts, presses buttons, reads and answers message boxes,
// posts commands, starts and stops processes, takes screenshots.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavisnap::testing {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

// Environment of the test run (tools/wine-run), UTF-8; empty when unset.
std::string Env(const char* name);
// The folder for screenshots and other output to look at (TAVISNAP_TEST_OUTPUT), or the
// current folder.
std::string OutputDir();

// Runs the thread's message queue for the given time (keeps own test windows alive).
void Pump(Millis duration);
// Polls until done() or the time-out, pumping messages in between.
bool WaitUntil(const std::function<bool()>& done, Millis timeout = 10s);

// Top-level windows. An empty class or title matches any; pid 0 any process.
HWND FindTopWindow(const std::wstring& cls, const std::wstring& title, DWORD pid = 0,
                   bool visibleOnly = false);
HWND WaitForTopWindow(const std::wstring& cls, const std::wstring& title, DWORD pid = 0,
                      Millis timeout = 10s, bool visibleOnly = false);
std::vector<HWND> TopWindows(DWORD pid);

// Child controls, in Z order (which is the tab order of a dialog template).
std::vector<HWND> Children(HWND parent);
HWND FindChildByText(HWND parent, const std::wstring& text, const std::wstring& cls = L"");
HWND FindChildById(HWND parent, int id);
// A child's window rectangle in its parent's client coordinates.
RECT RectIn(HWND child, HWND parent);
std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);  // WM_GETTEXT, works across processes
void SetText(HWND hwnd, const std::wstring& text);
bool IsChecked(HWND checkbox);
void SetChecked(HWND checkbox, bool checked);

// Real key presses through SendInput, as the keyboard makes them: the keys go down in
// order and come up in reverse (PressKeys({VK_CONTROL, VK_SNAPSHOT}) is Ctrl+PrintScreen).
// They reach the foreground window, and global hotkeys see them.
void PressKeys(std::initializer_list<WORD> keys);

// Presses a button without waiting for what it starts (it may open a modal box).
void Click(HWND button);
void PostCommand(HWND window, int id);
void PostClose(HWND window);

// Message boxes (dialog class #32770 holding a static text and push buttons).
struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::wstring caption;
  std::wstring text;
  std::vector<std::wstring> buttons;
  bool topmost = false;  // Wine 8 does not mark MB_TOPMOST boxes: informative only
};
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, Millis timeout = 15s);
// Presses the box's button with the given identifier (IDOK, IDCANCEL, IDYES, ...).
void AnswerMessageBox(const MessageBoxInfo& box, int id);
// Waits for a box, checks nothing, answers it: returns what it said.
std::optional<MessageBoxInfo> ExpectMessageBox(DWORD pid, int answer = IDOK, Millis timeout = 15s);

// Processes.
struct Process {
  HANDLE handle = nullptr;
  DWORD pid = 0;
  // Exit code, or nullopt when it has not ended within the time.
  std::optional<DWORD> Wait(Millis timeout);
  void Kill();
  ~Process();
};
std::unique_ptr<Process> Launch(const std::wstring& exe, const std::wstring& args,
                                const std::wstring& workdir = L"");

// Files and folders (UTF-8 paths).
std::string MakeTempDir(const std::string& prefix = "tavisnap-test");
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
// The folder of the running test program, with a trailing backslash.
std::string ExeDir();

// The password the local service recorded for a registered address (from its state
// folder TAVISNAP_SERVICE_STATE), or "" when it has none.
std::string ServiceRecordedPassword(const std::string& mail);
// The raw requests the local service recorded in its state folder, oldest first.
std::vector<std::string> ServiceRequests();
// The folders where the local service stored the account's uploads (picture.jpg,
// fields.txt, message.iso2022jp), oldest first.
std::vector<std::string> ServiceUploads(const std::string& mail);

// Whether the notification area holds the icon: only an icon that is there can be modified.
// The program's icon is number 1.
bool TrayIconPresent(HWND owner, UINT id = 1);

// A rectangle of the screen copied by one BitBlt into a DIB section of 24 or 32 bits per
// pixel, rows top-down or, as a BMP file keeps them, bottom-up.
class ScreenGrab {
 public:
  ScreenGrab(const RECT& area, int bitCount, bool topDown);
  ~ScreenGrab();
  ScreenGrab(const ScreenGrab&) = delete;
  ScreenGrab& operator=(const ScreenGrab&) = delete;

  const BITMAPINFOHEADER& header() const { return info_.bmiHeader; }
  const void* bits() const { return bits_; }
  size_t SizeBytes() const;

 private:
  BITMAPINFO info_{};
  HDC screen_ = nullptr;
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

// The pixels of a rectangle of the screen as they are shown, top-down, 0x00RRGGBB; empty
// for an empty rectangle.
std::vector<uint32_t> ScreenPixels(const RECT& area);

// The sign-in requests the local service recorded, oldest first.
std::vector<std::string> ServiceSignInRequests();

// Text in code page 932, as the program writes it into its files.
std::string Cp932(const std::wstring& text);
std::string Cp932(const std::string& utf8);

// Writes a 24-bit BMP of the whole screen (or of one window's rectangle) into
// OutputDir() and returns its path.
std::string SaveScreenshot(const std::string& name, HWND window = nullptr);

}  // namespace tavisnap::testing
