#include "account/form_init_win.h"

#include <commctrl.h>
#include <imm.h>
#include <windowsx.h>

#include <algorithm>
#include <span>
#include <string>

#include "account/form_init_res.h"
#include "core/password_store.h"
#include "service/post_form.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr LayoutFont kFont{L"MS UI Gothic", 12};

constexpr Placement kFramePlacements[] = {{IDC_Init_PageControlData, 8, 8, 495, 24}};
constexpr DialogLayout kFrameLayout{511, 351, kFont, kFramePlacements};

// Both pages lie below the tab control, which shows only its strip with the page's name,
// so that every control stands on the window's own colour whatever the theme paints a
// tab's body with.
constexpr Placement kPageArea{0, 0, 40, kFrameLayout.clientWidth, 289};

constexpr Placement kNewRegPlacements[] = {
    {IDC_GroupBox_userid1, 24, 6, 463, 96},         {IDC_Label_new_mailadr1, 40, 28, 0, 0},
    {IDC_Edit_new_mailadr1, 40, 28, 320, 22},       {IDC_StaticText_new_mailadr1, 40, 58, 440, 36},
    {IDC_GroupBox_userid2, 24, 110, 463, 76},       {IDC_StaticText_new_mailadr2, 40, 132, 430, 18},
    {IDC_Edit_new_mailadr2, 40, 154, 320, 22},      {IDC_Label_guid, 24, 200, 0, 0},
    {IDC_StaticText_guid, 24, 200, 463, 20},        {IDC_Button_new_reg_do, 120, 236, 120, 32},
    {IDC_Button_new_reg_cancel, 270, 236, 120, 32},
};
constexpr Placement kAlreadyRegPlacements[] = {
    {IDC_GroupBox_userid, 24, 6, 463, 76},
    {IDC_StaticText_userid, 40, 28, 430, 18},
    {IDC_Edit_already_mailadr, 40, 50, 320, 22},
    {IDC_GroupBox_password, 24, 90, 463, 76},
    {IDC_StaticText_password, 40, 112, 430, 18},
    {IDC_Edit_already_password, 40, 134, 320, 22},
    {IDC_CheckBox_AutoLogin, 40, 178, 300, 22},
    {IDC_Button_already_reg_do, 40, 236, 130, 32},
    {IDC_Button_already_reg_cancel, 190, 236, 130, 32},
    {IDC_Button_already_reg_Password, 340, 236, 147, 32},
};
constexpr DialogLayout kPageLayouts[] = {
    {0, 0, kFont, kNewRegPlacements},
    {0, 0, kFont, kAlreadyRegPlacements},
};
constexpr int kPageTemplates[] = {IDD_TabSheet_new_reg, IDD_TabSheet_already_reg};

constexpr int kImeOffEdits[] = {IDC_Edit_new_mailadr1, IDC_Edit_new_mailadr2,
                                IDC_Edit_already_mailadr, IDC_Edit_already_password};

int FieldId(InitField field) {
  switch (field) {
    case InitField::NewMailAdr1:
      return IDC_Edit_new_mailadr1;
    case InitField::NewMailAdr2:
      return IDC_Edit_new_mailadr2;
    case InitField::AlreadyMailAdr:
      return IDC_Edit_already_mailadr;
    case InitField::AlreadyPassword:
      return IDC_Edit_already_password;
  }
  return 0;
}

const wchar_t* PageCaption(int page) {
  return page == kPageNewReg ? L"新規登録" : L"ログイン";
}

int FirstControl(int page) {
  return page == kPageNewReg ? IDC_Edit_new_mailadr1 : IDC_Edit_already_mailadr;
}

}  // namespace

TFormInit::TFormInit(MainWindowServices& services, HWND owner, Prompter* prompter)
    : logic_(*this, prompter ? *prompter : ownPrompter_, services, PostForm, SavePasswordData),
      paged_(kPageArea) {
  Create(IDD_FormInit, owner);
  for (int page : {kPageNewReg, kPageAlreadyReg}) {
    pages_[page] = std::make_unique<PageDialog>(kPageTemplates[page], hwnd(), kPageLayouts[page]);
  }
  paged_.SetPages(Item(IDC_Init_PageControlData), {pages_[0].get(), pages_[1].get()});
  PreparePages();
  logic_.FormCreate();
}

const DialogLayout* TFormInit::Layout() const {
  return &kFrameLayout;
}

void TFormInit::OnLayout(UINT dpi) {
  SendMessageW(Item(IDC_StatusBar1), WM_SIZE, 0, 0);  // a status bar places itself
  paged_.Place(dpi);
}

bool TFormInit::OnInit() {
  return false;
}  // the focus is placed when the window is shown

void TFormInit::PreparePages() {
  for (int id : kImeOffEdits) ImmAssociateContext(Item(id), nullptr);
  SendMessageW(Item(IDC_Edit_already_password), EM_SETPASSWORDCHAR, L'*', 0);
  OnLayout(Dpi());
  ShowPage(kPageNewReg);
}

INT_PTR TFormInit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item.CtlID != IDC_StaticText_new_mailadr1) return FALSE;
      DrawTwoLineCaption(item);
      return TRUE;
    }
    case WM_HELP:
      RunHelp(help_.helpDisp);
      return TRUE;
  }
  return FALSE;
}

void TFormInit::OnClose() {
  if (logic_.FormClose()) Hide();
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

bool TFormInit::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return false;  // menu entries and buttons alike send 0
  switch (id) {
    case IDC_Button_already_reg_do:
      logic_.Button_already_reg_doClick();
      break;
    case IDC_Button_new_reg_do:
      logic_.Button_new_reg_doClick();
      break;
    case IDC_Button_already_reg_Password:
      logic_.Button_already_reg_PasswordClick();
      break;
    case IDC_Button_already_reg_cancel:
    case IDC_Button_new_reg_cancel:
      logic_.CancelClick();
      break;
    case IDM_IniMenuNewReg:
      logic_.IniMenuNewRegClick();
      break;
    case IDM_INiMenuLogin:
      logic_.INiMenuLoginClick();
      break;
    case IDM_IniMenuEnd:
      logic_.IniMenuEndClick();
      break;
    case IDM_IniMenuHelpDisp:
      RunHelp(help_.helpDisp);
      break;
    case IDM_IniMenuReadme:
      RunHelp(help_.readme);
      break;
    case IDM_IniMenuVersion:
      RunHelp(help_.version);
      break;
    default:
      return false;
  }
  return true;
}

void TFormInit::RunHelp(const std::function<void(HWND)>& action) {
  if (action) action(hwnd());
}

void TFormInit::Show() {
  MakeVisible();
  BringToFront();
}

std::string TFormInit::Text(InitField field) const {
  return ItemText(FieldId(field));
}

void TFormInit::SetText(InitField field, const std::string& text) {
  SetItemText(FieldId(field), text);
}

bool TFormInit::AutoLoginChecked() const {
  return Button_GetCheck(Item(IDC_CheckBox_AutoLogin)) == BST_CHECKED;
}

void TFormInit::SetAutoLoginChecked(bool checked) {
  Button_SetCheck(Item(IDC_CheckBox_AutoLogin), checked ? BST_CHECKED : BST_UNCHECKED);
}

void TFormInit::ShowPage(int page) {
  HWND tabs = Item(IDC_Init_PageControlData);
  TabCtrl_DeleteAllItems(tabs);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(PageCaption(page));
  TabCtrl_InsertItem(tabs, 0, &item);

  page_ = page;
  // The shown page first, so that the focus can move there before its place disappears:
  // a hidden control keeping the focus would leave the keyboard nowhere.
  paged_.Reveal(static_cast<size_t>(page));
  if (!FocusIsOnPage(page)) FocusControl(FirstControl(page));
  paged_.HideAllBut(static_cast<size_t>(page));
}

bool TFormInit::FocusIsOnPage(int page) const {
  HWND focus = GetFocus();
  return focus && IsChild(pages_[page]->hwnd(), focus);
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
  EnableMenuItem(menu, IDM_IniMenuNewReg, flags);
  EnableMenuItem(menu, IDM_INiMenuLogin, flags);
}

void TFormInit::FocusPassword() {
  FocusControl(IDC_Edit_already_password);
}

void TFormInit::MakeVisible() {
  ShowWindow(hwnd(), SW_SHOW);
  if (focusOnShow_) {
    FocusControl(focusOnShow_);
  } else if (!FocusIsOnPage(page_)) {
    FocusControl(FirstControl(page_));
  }
}

void TFormInit::BringToFront() {
  SetForegroundWindow(hwnd());
}

void TFormInit::Hide() {
  ShowWindow(hwnd(), SW_HIDE);
}

}  // namespace tavisnap
