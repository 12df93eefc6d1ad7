#include "setup/setup_main_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "setup/agreement_text.h"
#include "setup/setup_main_res.h"
#include "win/labelled_accessible_win.h"
#include "win/message_box_win.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr wchar_t kWindowClass[] = L"TSetup_Main";
constexpr wchar_t kTavisnapTitle[] = L"タビスナップ";
constexpr wchar_t kFocusTalkClass[] = L"FocusTalkVoiceWnd";
// The trailing blank is part of the name the launcher asks for; the file system drops it.
constexpr wchar_t kInstallerName[] = L"tavisnap_setup_silent.exe ";
constexpr wchar_t kInstallerParameter[] = L"/SILENT";
constexpr char kInstallQuestion[] = "タビスナップをインストールします、続行しますか？";
constexpr char kInstallQuestionCaption[] = "セットアップ確認";
constexpr char kInstallerNotStarted[] = "インストーラーを起動できませんでした。\r\n";
constexpr char kInstallerNotStartedEnd[] = "\r\nタビスナップはインストールされていません。";
constexpr char kInstallerNotStartedCaption[] = "セットアップ警告";
constexpr UINT_PTR kWaitTimer = 1;

constexpr Placement kPlacements[] = {
    {IDC_MemoKyodaku, 8, 8, 425, 297},
    {IDC_BtnLicense, 8, 311, 304, 33},
    {IDC_BtnCancel, 328, 311, 105, 33},
    {IDC_BtnInstall, 8, 350, 425, 33},
};
constexpr DialogLayout kLayout{442, 391, LayoutFont{L"Tahoma", 12}, kPlacements};

// Tab into the agreement keeps the caret where it is instead of selecting the whole
// text, so that the reader starts at the caret, as in a plain memo.
LRESULT CALLBACK MemoProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
  if (msg == WM_GETDLGCODE) result &= ~DLGC_HASSETSEL;
  return result;
}

std::wstring OwnFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

void PressKey(BYTE vk, DWORD flags) {
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), flags, 0);
}

}  // namespace

TSetup_Main::TSetup_Main(const SoundLibrary& sound, HICON icon) : sound_(sound) {
  RegisterDialogClass(kWindowClass, icon);
  Create(IDD_Setup_Main, nullptr);
}

TSetup_Main::~TSetup_Main() {
  spokenText_.clear();
}

const DialogLayout* TSetup_Main::Layout() const {
  return &kLayout;
}

void TSetup_Main::Show() {
  FormShow();
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

bool TSetup_Main::OnInit() {
  FormCreate();
  return true;
}

void TSetup_Main::FormCreate() {
  SetItemText(IDC_MemoKyodaku, AgreementMemoText());
  SetWindowSubclass(Item(IDC_MemoKyodaku), MemoProcedure, 0, 0);
  NameAfterLabel(Item(IDC_MemoKyodaku));
  spokenText_ = SpokenText(AgreementLines());
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TSetup_Main::FormShow() {
  HWND memo = Item(IDC_MemoKyodaku);
  LRESULT start = SendMessageW(memo, EM_LINEINDEX, 0, 0);
  SendMessageW(memo, EM_SETSEL, start, start);
}

bool TSetup_Main::OnCommand(int id, int code) {
  const bool button = id == IDC_BtnLicense || id == IDC_BtnCancel || id == IDC_BtnInstall;
  if (code == BN_SETFOCUS) {
    if (id == IDC_BtnLicense) BtnLicenseEnter();
    if (id == IDC_BtnInstall) BtnInstallEnter();
    if (id == IDC_BtnCancel) BtnCancelEnter();
  }
  if (code != BN_CLICKED) return button;
  switch (id) {
    case IDC_BtnLicense:
      BtnLicenseClick();
      return true;
    case IDC_BtnInstall:
      BtnInstallClick();
      return true;
    case IDC_BtnCancel:
      BtnCancelClick();
      return true;
  }
  return false;
}

void TSetup_Main::BtnLicenseEnter() {
  SpeakCaption(IDC_BtnLicense);
}

void TSetup_Main::BtnInstallEnter() {
  SpeakCaption(IDC_BtnInstall);
}

void TSetup_Main::BtnCancelEnter() {
  SpeakCaption(IDC_BtnCancel);
}

// A button that takes the focus speaks its caption, access-key marker included.
void TSetup_Main::SpeakCaption(int buttonId) {
  if (sound_.Loaded()) sound_.Speak(ItemText(buttonId));
}

void TSetup_Main::BtnLicenseClick() {
  if (sound_.Loaded()) sound_.Speak(spokenText_);
  // The screen reader's own key for reading on: FocusTalk's, or the other readers'.
  const wchar_t letter = FindWindowW(kFocusTalkClass, nullptr) ? L'Q' : L'Z';
  const BYTE vk = LOBYTE(VkKeyScanW(letter));
  PressKey(VK_CONTROL, 0);
  PressKey(VK_MENU, 0);
  PressKey(vk, 0);
  PressKey(VK_CONTROL, KEYEVENTF_KEYUP);
  PressKey(VK_MENU, KEYEVENTF_KEYUP);
  PressKey(vk, KEYEVENTF_KEYUP);
}

void TSetup_Main::BtnInstallClick() {
  installFlow_.Install();
}

void TSetup_Main::BtnCancelClick() {
  Close();
}

void TSetup_Main::OnClose() {
  Close();
}

void TSetup_Main::Close() {
  KillTimer(hwnd(), kWaitTimer);
  PostQuitMessage(0);
}

void TSetup_Main::OnTimer(UINT_PTR id) {
  if (id != kWaitTimer) return;
  KillTimer(hwnd(), kWaitTimer);
  installFlow_.WaitEnded();
}

bool TSetup_Main::ConfirmInstall() {
  return ShowMessageBox(hwnd(), kInstallQuestion, kInstallQuestionCaption,
                        MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2) == IDYES;
}

bool TSetup_Main::ProgramRunning() {
  return FindWindowW(nullptr, kTavisnapTitle) != nullptr;
}

void TSetup_Main::QuitProgram() {
  if (HWND program = FindWindowW(nullptr, kTavisnapTitle)) PostMessageW(program, WM_QUIT, 0, 0);
}

void TSetup_Main::StartWait(int millis) {
  SetTimer(hwnd(), kWaitTimer, static_cast<UINT>(millis), nullptr);
}

bool TSetup_Main::StartInstaller() {
  // Not waited for: the launcher ends once it has started.
  const std::wstring installer = OwnFolder() + kInstallerName;
  SHELLEXECUTEINFOW start{};
  start.cbSize = sizeof start;
  // No box of the shell's: the launcher's own warning names the file. The launcher ends
  // right after a start, so the start must be complete when the call returns.
  start.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  start.lpFile = installer.c_str();
  start.lpParameters = kInstallerParameter;
  start.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&start) != FALSE;
}

void TSetup_Main::ReportInstallerNotStarted() {
  // Named as the folder shows it, without the trailing blank.
  std::wstring installer = OwnFolder() + kInstallerName;
  installer.erase(installer.find_last_not_of(L' ') + 1);
  const std::string text = kInstallerNotStarted + Narrow(installer) + kInstallerNotStartedEnd;
  ShowMessageBox(hwnd(), text, kInstallerNotStartedCaption, MB_OK | MB_ICONWARNING);
}

void TSetup_Main::CloseLauncher() {
  Close();
}

}  // namespace tavisnap
