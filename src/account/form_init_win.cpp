#include "account/form_init_win.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <span>
#include <string>

#include "account/form_init_res.h"
#include "core/password_store.h"
#include "service/post_form.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr int kClientWidth = 511;
constexpr int kClientHeight = 351;

struct Placement {
  int id, x, y, width, height;
};

// In pixels at 96 dpi; both pages share the area below the tab control, which shows only
// its strip with the page's name, so that every control stands on the window's own colour
// whatever the theme paints a tab's body with.
constexpr Placement kPlacements[] = {
    {IDC_PAGE_CONTROL_DATA, 8, 8, 495, 24},
    {IDC_GROUPBOX_USERID1, 24, 46, 463, 96},
    {IDC_LABEL_NEW_MAILADR1, 40, 68, 0, 0},
    {IDC_EDIT_NEW_MAILADR1, 40, 68, 320, 22},
    {IDC_STATICTEXT_NEW_MAILADR1, 40, 98, 440, 36},
    {IDC_GROUPBOX_USERID2, 24, 150, 463, 76},
    {IDC_STATICTEXT_NEW_MAILADR2, 40, 172, 430, 18},
    {IDC_EDIT_NEW_MAILADR2, 40, 194, 320, 22},
    {IDC_LABEL_GUID, 24, 240, 0, 0},
    {IDC_STATICTEXT_GUID, 24, 240, 463, 20},
    {IDC_BUTTON_NEW_REG_DO, 120, 276, 120, 32},
    {IDC_BUTTON_NEW_REG_CANCEL, 270, 276, 120, 32},
    {IDC_GROUPBOX_USERID, 24, 46, 463, 76},
    {IDC_STATICTEXT_USERID, 40, 68, 430, 18},
    {IDC_EDIT_ALREADY_MAILADR, 40, 90, 320, 22},
    {IDC_GROUPBOX_PASSWORD, 24, 130, 463, 76},
    {IDC_STATICTEXT_PASSWORD, 40, 152, 430, 18},
    {IDC_EDIT_ALREADY_PASSWORD, 40, 174, 320, 22},
    {IDC_CHECKBOX_AUTOLOGIN, 40, 218, 300, 22},
    {IDC_BUTTON_ALREADY_REG_DO, 40, 276, 130, 32},
    {IDC_BUTTON_ALREADY_REG_CANCEL, 190, 276, 130, 32},
    {IDC_BUTTON_ALREADY_REG_PASSWORD, 340, 276, 147, 32},
};

constexpr int kNewRegControls[] = {
    IDC_GROUPBOX_USERID1,        IDC_LABEL_NEW_MAILADR1, IDC_EDIT_NEW_MAILADR1,
    IDC_STATICTEXT_NEW_MAILADR1, IDC_GROUPBOX_USERID2,   IDC_STATICTEXT_NEW_MAILADR2,
    IDC_EDIT_NEW_MAILADR2,       IDC_LABEL_GUID,         IDC_STATICTEXT_GUID,
    IDC_BUTTON_NEW_REG_DO,       IDC_BUTTON_NEW_REG_CANCEL,
};
constexpr int kAlreadyRegControls[] = {
    IDC_GROUPBOX_USERID,       IDC_STATICTEXT_USERID,        IDC_EDIT_ALREADY_MAILADR,
    IDC_GROUPBOX_PASSWORD,     IDC_STATICTEXT_PASSWORD,      IDC_EDIT_ALREADY_PASSWORD,
    IDC_CHECKBOX_AUTOLOGIN,    IDC_BUTTON_ALREADY_REG_DO,    IDC_BUTTON_ALREADY_REG_CANCEL,
    IDC_BUTTON_ALREADY_REG_PASSWORD,
};
constexpr int kImeOffEdits[] = {IDC_EDIT_NEW_MAILADR1, IDC_EDIT_NEW_MAILADR2,
                                IDC_EDIT_ALREADY_MAILADR, IDC_EDIT_ALREADY_PASSWORD};

int FieldId(InitField field) {
  switch (field) {
    case InitField::NewMailAdr1:
      return IDC_EDIT_NEW_MAILADR1;
    case InitField::NewMailAdr2:
      return IDC_EDIT_NEW_MAILADR2;
    case InitField::AlreadyMailAdr:
      return IDC_EDIT_ALREADY_MAILADR;
    case InitField::AlreadyPassword:
      return IDC_EDIT_ALREADY_PASSWORD;
  }
  return 0;
}

const wchar_t* PageCaption(int page) {
  return page == kPageNewReg ? L"新規登録" : L"ログイン";
}

std::span<const int> PageControls(int page) {
  if (page == kPageNewReg) return kNewRegControls;
  return kAlreadyRegControls;
}

int FirstControl(int page) {
  return page == kPageNewReg ? IDC_EDIT_NEW_MAILADR1 : IDC_EDIT_ALREADY_MAILADR;
}

}  // namespace

TFormInit::TFormInit(MainWindowServices& services, HWND owner, Prompter* prompter)
    : logic_(*this, prompter ? *prompter : ownPrompter_, services, PostForm, SavePasswordData) {
  Create(IDD_FORM_INIT, owner);
  logic_.FormCreate();
}

INT_PTR TFormInit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInitDialog();
      return FALSE;  // the focus is placed when the window is shown
    case WM_COMMAND:
      OnCommand(LOWORD(wp));
      return TRUE;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item.CtlID != IDC_STATICTEXT_NEW_MAILADR1) return FALSE;
      DrawTwoLineCaption(item);
      return TRUE;
    }
    case WM_HELP:
      RunHelp(help_.helpDisp);
      return TRUE;
    case WM_CLOSE:
      if (logic_.FormClose()) Hide();
      return TRUE;
  }
  return FALSE;
}

void TFormInit::OnInitDialog() {
  for (int id : kImeOffEdits) ImmAssociateContext(Item(id), nullptr);
  SendMessageW(Item(IDC_EDIT_ALREADY_PASSWORD), EM_SETPASSWORDCHAR, L'*', 0);
  Layout();
  ShowPage(kPageNewReg);
}

void TFormInit::Layout() {
  const UINT dpi = GetDpiForWindow(hwnd());
  auto scale = [dpi](int v) { return MulDiv(v, static_cast<int>(dpi), 96); };
  for (const Placement& p : kPlacements) {
    SetWindowPos(Item(p.id), nullptr, scale(p.x), scale(p.y), scale(p.width), scale(p.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE));
  RECT frame{0, 0, scale(kClientWidth), scale(kClientHeight)};
  AdjustWindowRectExForDpi(&frame, style, TRUE, exStyle, dpi);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(Item(IDC_STATUS_BAR1), WM_SIZE, 0, 0);
}

// The caption's run of blanks is there to put its second sentence on a line of its own.
// Line breaking differs between systems (Japanese may break between any two characters),
// so the label draws its two sentences itself; its text, which screen readers get, stays
// the whole caption.
void TFormInit::DrawTwoLineCaption(const DRAWITEMSTRUCT& item) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(item.hwndItem)) + 1, L'\0');
  const int length = GetWindowTextW(item.hwndItem, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(length));
  const size_t blanks = std::min(text.find(L' '), text.size());
  const size_t second = std::min(text.find_first_not_of(L' ', blanks), text.size());

  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_3DFACE));
  auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(item.hDC, font);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(COLOR_WINDOWTEXT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(item.hDC, &metrics);
  RECT line = item.rcItem;
  constexpr UINT kFlags = DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  DrawTextW(item.hDC, text.c_str(), static_cast<int>(blanks), &line, kFlags);
  line.top += metrics.tmHeight + metrics.tmExternalLeading;
  DrawTextW(item.hDC, text.c_str() + second, static_cast<int>(text.size() - second), &line, kFlags);
  SelectObject(item.hDC, old);
}

void TFormInit::OnCommand(int id) {
  switch (id) {
    case IDC_BUTTON_ALREADY_REG_DO:
      logic_.Button_already_reg_doClick();
      break;
    case IDC_BUTTON_NEW_REG_DO:
      logic_.Button_new_reg_doClick();
      break;
    case IDC_BUTTON_ALREADY_REG_PASSWORD:
      logic_.Button_already_reg_PasswordClick();
      break;
    case IDC_BUTTON_ALREADY_REG_CANCEL:
    case IDC_BUTTON_NEW_REG_CANCEL:
      logic_.CancelClick();
      break;
    case IDM_INI_MENU_NEW_REG:
      logic_.IniMenuNewRegClick();
      break;
    case IDM_INI_MENU_LOGIN:
      logic_.INiMenuLoginClick();
      break;
    case IDM_INI_MENU_END:
      logic_.IniMenuEndClick();
      break;
    case IDM_INI_MENU_HELP_DISP:
      RunHelp(help_.helpDisp);
      break;
    case IDM_INI_MENU_README:
      RunHelp(help_.readme);
      break;
    case IDM_INI_MENU_VERSION:
      RunHelp(help_.version);
      break;
  }
}

void TFormInit::RunHelp(const std::function<void(HWND)>& action) {
  if (action) action(hwnd());
}

void TFormInit::Show() {
  MakeVisible();
  BringToFront();
}

std::string TFormInit::Text(InitField field) const { return ItemText(FieldId(field)); }

void TFormInit::SetText(InitField field, const std::string& text) {
  SetItemText(FieldId(field), text);
}

bool TFormInit::AutoLoginChecked() const {
  return IsDlgButtonChecked(hwnd(), IDC_CHECKBOX_AUTOLOGIN) == BST_CHECKED;
}

void TFormInit::SetAutoLoginChecked(bool checked) {
  CheckDlgButton(hwnd(), IDC_CHECKBOX_AUTOLOGIN, checked ? BST_CHECKED : BST_UNCHECKED);
}

void TFormInit::ShowPage(int page) {
  HWND tabs = Item(IDC_PAGE_CONTROL_DATA);
  TabCtrl_DeleteAllItems(tabs);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(PageCaption(page));
  TabCtrl_InsertItem(tabs, 0, &item);

  page_ = page;
  // The shown page first, so that the focus can move there before its place disappears:
  // a hidden control keeping the focus would leave the keyboard nowhere.
  SetPageShown(page, true);
  if (!FocusIsOnPage(page)) FocusControl(FirstControl(page));
  SetPageShown(page == kPageNewReg ? kPageAlreadyReg : kPageNewReg, false);
}

void TFormInit::SetPageShown(int page, bool shown) {
  for (int id : PageControls(page)) {
    EnableWindow(Item(id), shown);
    ShowWindow(Item(id), shown ? SW_SHOWNA : SW_HIDE);
  }
}

bool TFormInit::FocusIsOnPage(int page) const {
  HWND focus = GetFocus();
  for (int id : PageControls(page)) {
    if (focus == Item(id)) return true;
  }
  return false;
}

void TFormInit::FocusControl(int id) {
  if (IsVisible()) {
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
    focusOnShow_ = 0;
  } else {
    focusOnShow_ = id;
  }
}

void TFormInit::EnablePageMenuItems(bool enabled) {
  HMENU menu = GetMenu(hwnd());
  const UINT flags = MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED);
  EnableMenuItem(menu, IDM_INI_MENU_NEW_REG, flags);
  EnableMenuItem(menu, IDM_INI_MENU_LOGIN, flags);
}

void TFormInit::FocusPassword() { FocusControl(IDC_EDIT_ALREADY_PASSWORD); }

void TFormInit::MakeVisible() {
  ShowWindow(hwnd(), SW_SHOW);
  if (focusOnShow_) {
    FocusControl(focusOnShow_);
  } else if (!FocusIsOnPage(page_)) {
    FocusControl(FirstControl(page_));
  }
}

void TFormInit::BringToFront() { SetForegroundWindow(hwnd()); }

void TFormInit::Hide() { ShowWindow(hwnd(), SW_HIDE); }

}  // namespace tavisnap
