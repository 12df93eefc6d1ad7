#include "capture/form_send_panel_win.h"

#include <commctrl.h>
#include <imm.h>

#include "capture/accessibility_reader.h"
#include "capture/form_send_panel_res.h"
#include "core/app_error.h"
#include "win/labelled_accessible_win.h"
#include "win/text_win.h"
#include "win/wait_cursor_win.h"

namespace tavisnap {
namespace {

constexpr LayoutFont kFont{L"ＭＳ Ｐゴシック", 12};

constexpr Placement kFramePlacements[] = {
    {IDC_SendPanel_PageControlData, 4, 4, 639, 629},
};
constexpr DialogLayout kFrameLayout{647, 637, kFont, kFramePlacements};

// The preview statics are one pixel larger on each side than their panels: the frame.
constexpr Placement kEasyPlacements[] = {
    {IDC_GroupBox_dst_name, 8, 4, 614, 50},
    {IDC_StaticText_dst_name, 20, 24, 190, 22},
    {IDC_SendPanel_StaticText_dst_name_dsp, 216, 24, 394, 22},
    {IDC_GroupBox_dst_mailadr, 8, 58, 614, 50},
    {IDC_StaticText_dst_mailadr, 20, 78, 190, 22},
    {IDC_StaticText_dst_mailadr_dsp, 216, 78, 394, 22},
    {IDC_StaticText_SendList, 20, 121, 190, 15},
    {IDC_SendPanel_ComboBox_dst_list, 216, 117, 280, 240},
    {IDC_Button_chgmadr, 504, 114, 106, 28},
    {IDC_Label_Image, 20, 150, 100, 15},
    {IDC_StaticText_Image, 20, 150, 590, 22},
    {IDC_Panel_image, 58, 178, 514, 386},
    {IDC_Button_send_exec, 294, 570, 100, 28},
    {IDC_SendPanel_Button_cancel, 402, 570, 100, 28},
    {IDC_Button_viewer, 510, 570, 100, 28},
};
constexpr Placement kDetailedPlacements[] = {
    {IDC_GroupBox_MailTo, 8, 4, 614, 88},
    {IDC_StaticText_MailTo, 20, 27, 110, 15},
    {IDC_Edit_MailTo_Email, 136, 24, 474, 22},
    {IDC_StaticText_MailTo_list, 20, 61, 110, 15},
    {IDC_ComboBox_MailTo_list, 136, 57, 330, 240},
    {IDC_Button_ChgMailTo, 474, 54, 136, 28},
    {IDC_GroupBox_Cc, 8, 96, 614, 88},
    {IDC_StaticText_Cc, 20, 119, 110, 15},
    {IDC_Edit_Cc_Email, 136, 116, 474, 22},
    {IDC_StaticText_Cc_list, 20, 153, 110, 15},
    {IDC_ComboBox_Cc_list, 136, 149, 330, 240},
    {IDC_Button_Cc_Add, 474, 146, 136, 28},
    {IDC_GroupBox_Bcc, 8, 188, 614, 88},
    {IDC_StaticText_Bcc, 20, 211, 110, 15},
    {IDC_Edit_Bcc_Email, 136, 208, 474, 22},
    {IDC_StaticText_Bcc_list, 20, 245, 110, 15},
    {IDC_ComboBox_Bcc_list, 136, 241, 330, 240},
    {IDC_Button_Bcc_Add, 474, 238, 136, 28},
    {IDC_GroupBox_Message, 8, 282, 330, 220},
    {IDC_StaticText_Message, 20, 302, 306, 15},
    {IDC_Memo_Message, 20, 320, 306, 136},
    {IDC_Button_d_reader, 20, 462, 306, 28},
    {IDC_Panel_d_image, 350, 282, 271, 298},
    {IDC_Button_d_Send_exec, 8, 512, 104, 28},
    {IDC_Button_d_cancel, 120, 512, 104, 28},
    {IDC_Button_d_viewer, 232, 512, 104, 28},
    {IDC_Label_d_Image, 8, 556, 100, 15},
    {IDC_StaticText_d_Image, 8, 556, 330, 22},
};
constexpr DialogLayout kEasyLayout{0, 0, kFont, kEasyPlacements};
constexpr DialogLayout kDetailedLayout{0, 0, kFont, kDetailedPlacements};

constexpr const char* kPageCaptions[] = {"簡易送信", "詳細送信"};

// The informative texts that take their accessible name from the window before them.
constexpr int kNamedAfterLabel[] = {
    IDC_StaticText_dst_name,         IDC_SendPanel_StaticText_dst_name_dsp,
    IDC_StaticText_dst_mailadr,      IDC_StaticText_dst_mailadr_dsp,
    IDC_SendPanel_ComboBox_dst_list, IDC_StaticText_Image,
    IDC_ComboBox_MailTo_list,        IDC_ComboBox_Cc_list,
    IDC_ComboBox_Bcc_list,           IDC_StaticText_d_Image};

// Mail addresses are typed without the input method.
constexpr int kInputMethodOff[] = {IDC_Edit_MailTo_Email, IDC_Edit_Cc_Email, IDC_Edit_Bcc_Email};

int FieldId(PanelField field) {
  switch (field) {
    case PanelField::DstNameDsp:
      return IDC_SendPanel_StaticText_dst_name_dsp;
    case PanelField::DstMailAdrDsp:
      return IDC_StaticText_dst_mailadr_dsp;
    case PanelField::MailToEmail:
      return IDC_Edit_MailTo_Email;
    case PanelField::CcEmail:
      return IDC_Edit_Cc_Email;
    case PanelField::BccEmail:
      return IDC_Edit_Bcc_Email;
    case PanelField::Message:
      return IDC_Memo_Message;
    case PanelField::ImageMode:
      return IDC_StaticText_Image;
    case PanelField::DetailImageMode:
      return IDC_StaticText_d_Image;
  }
  return 0;
}

int ListId(PanelList list) {
  switch (list) {
    case PanelList::DstList:
      return IDC_SendPanel_ComboBox_dst_list;
    case PanelList::MailToList:
      return IDC_ComboBox_MailTo_list;
    case PanelList::CcList:
      return IDC_ComboBox_Cc_list;
    case PanelList::BccList:
      return IDC_ComboBox_Bcc_list;
  }
  return 0;
}

}  // namespace

TFormSendPanel::TFormSendPanel(HWND owner, Prompter& prompter, AddressBookFactory makeBook,
                               HICON icon, TTypSendParam& param)
    : icon_(icon) {
  Create(IDD_FormSendPanel, owner);
  if (!hwnd()) throw AppError("送信パネルを作成できません");
  if (icon_) {
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  HWND tab = Item(IDC_SendPanel_PageControlData);
  for (int i = 0; i < 2; ++i) {
    std::wstring caption = Widen(kPageCaptions[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  easy_ = std::make_unique<PageDialog>(IDD_TabSheet_easy, hwnd(), kEasyLayout);
  detailed_ = std::make_unique<PageDialog>(IDD_TabSheet_detailed, hwnd(), kDetailedLayout);
  if (!easy_->hwnd() || !detailed_->hwnd()) throw AppError("送信パネルのページを作成できません");
  paged_.SetPages(tab, {easy_.get(), detailed_.get()});
  for (int id : kNamedAfterLabel) NameAfterLabel(Item(id));
  for (int id : kInputMethodOff) ImmAssociateContextEx(Item(id), nullptr, 0);
  SendMessageW(Item(IDC_Memo_Message), EM_SETLIMITTEXT, kMessageLimit, 0);
  SetItemText(IDC_StaticText_dst_name, "現在の送信先名称");
  SetItemText(IDC_StaticText_dst_mailadr, "現在の送信先メールアドレス");
  for (int id : {IDC_StaticText_Image, IDC_StaticText_d_Image}) SetItemText(id, kModeTextPlain);
  OnLayout(Dpi());
  ShowPage(PanelPage::Easy);
  book_ = makeBook(SendPanelCombos{Item(IDC_SendPanel_ComboBox_dst_list),
                                   Item(IDC_ComboBox_MailTo_list), Item(IDC_ComboBox_Cc_list),
                                   Item(IDC_ComboBox_Bcc_list), Item(IDC_SendPanel_ComboBox_name),
                                   Item(IDC_SendPanel_ComboBox_mailadr)});
  if (!book_) throw AppError("送信パネルを作成できません");
  logic_ =
      std::make_unique<SendPanelLogic>(static_cast<SendPanelView&>(*this), *book_, prompter, param);
  logic_->SetReader(&SystemAccessibilityReader());
  logic_->FormCreate();
}

TFormSendPanel::~TFormSendPanel() {
  // Destroyed here, while the pages it holds still exist.
  if (hwnd()) DestroyWindow(hwnd());
}

void TFormSendPanel::SetViewerHandOver(std::function<void()> handOver) {
  const bool connected = static_cast<bool>(handOver);
  logic_->SetViewerHandOver(std::move(handOver));
  for (int id : {IDC_Button_viewer, IDC_Button_d_viewer}) EnableWindow(Item(id), connected);
}

const DialogLayout* TFormSendPanel::Layout() const {
  return &kFrameLayout;
}

const PageDialog& TFormSendPanel::PageOf(PanelPage page) const {
  return page == PanelPage::Easy ? *easy_ : *detailed_;
}

void TFormSendPanel::ShowModal(TTypSendParam& /*param: the one the logic was made for*/) {
  logic_->FormShow();
  FocusFirstControl();
  RunModal();
}

void TFormSendPanel::OnLayout(UINT dpi) {
  paged_.Place(dpi);
}

void TFormSendPanel::ShowPage(PanelPage page) {
  currentPage_ = page;
  int index = page == PanelPage::Easy ? 0 : 1;
  HWND tab = Item(IDC_SendPanel_PageControlData);
  SendMessageW(tab, TCM_SETCURSEL, index, 0);
  SetWindowTextW(tab, Widen(kPageCaptions[index]).c_str());  // the tab control's accessible name
  paged_.Show(static_cast<size_t>(index));
}

void TFormSendPanel::FocusFirstControl() {
  HWND first = PageOf(currentPage_).FirstTabStop();
  if (first) SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

bool TFormSendPanel::OnCommand(int id, int code) {
  if (id == IDCANCEL) {  // Escape
    logic_->Button_cancelClick();
    return true;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_Button_chgmadr:
      logic_->Button_chgmadrClick(PanelButton::ChgMadr);
      break;
    case IDC_Button_ChgMailTo:
      logic_->Button_chgmadrClick(PanelButton::ChgMailTo);
      break;
    case IDC_Button_Cc_Add:
      logic_->Button_chgmadrClick(PanelButton::CcAdd);
      break;
    case IDC_Button_Bcc_Add:
      logic_->Button_chgmadrClick(PanelButton::BccAdd);
      break;
    case IDC_Button_send_exec:
      logic_->Button_send_execClick(PanelPage::Easy);
      break;
    case IDC_Button_d_Send_exec:
      logic_->Button_send_execClick(PanelPage::Detailed);
      break;
    case IDC_SendPanel_Button_cancel:
    case IDC_Button_d_cancel:
      logic_->Button_cancelClick();
      break;
    case IDC_Button_viewer:
    case IDC_Button_d_viewer:
      logic_->Button_viewerClick();
      break;
    case IDC_Button_d_reader: {
      WaitCursor wait;
      wait.Hold();
      logic_->Button_d_readerClick();
      break;
    }
    default:
      return false;
  }
  return true;
}

bool TFormSendPanel::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.idFrom != IDC_SendPanel_PageControlData || header.code != TCN_SELCHANGE) return false;
  int index = static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
  ShowPage(index == 1 ? PanelPage::Detailed : PanelPage::Easy);
  logic_->PageControlDataChange();
  result = 0;
  return true;
}

// Ctrl+Tab and Ctrl+Shift+Tab change the page from any control, as in a property sheet:
// otherwise a keyboard user must first find the tab control.
bool TFormSendPanel::PreTranslateMessage(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0) {
    return false;
  }
  ChangePage(currentPage_ == PanelPage::Easy ? PanelPage::Detailed : PanelPage::Easy);
  return true;
}

void TFormSendPanel::ChangePage(PanelPage page) {
  ShowPage(page);
  logic_->PageControlDataChange();
  FocusFirstControl();
}

void TFormSendPanel::OnClose() {
  logic_->Button_cancelClick();
}

INT_PTR TFormSendPanel::HandleMessage(UINT msg, WPARAM /*wp*/, LPARAM lp) {
  if (msg != WM_DRAWITEM) return FALSE;
  DrawPreview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
  return TRUE;
}

void TFormSendPanel::DrawPreview(const DRAWITEMSTRUCT& item) const {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (!hasPreview_) return;
  const PreviewPlacement& place =
      item.CtlID == IDC_Panel_image ? previews_.easy : previews_.detailed;
  const Picture& picture = previews_.picture;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.Width();
  info.bmiHeader.biHeight = -picture.Height();  // rows top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  // Placements are in 96-dpi pixels inside the panel; the static is scaled with the window.
  UINT dpi = GetDpiForWindow(item.hwndItem);
  if (!dpi) dpi = 96;
  SetStretchBltMode(item.hDC, HALFTONE);
  SetBrushOrgEx(item.hDC, 0, 0, nullptr);
  StretchDIBits(item.hDC, ScaleForDpi(place.left, dpi), ScaleForDpi(place.top, dpi),
                ScaleForDpi(place.width, dpi), ScaleForDpi(place.height, dpi), 0, 0,
                picture.Width(), picture.Height(), picture.Data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

std::string TFormSendPanel::Text(PanelField field) const {
  return ItemText(FieldId(field));
}

void TFormSendPanel::SetText(PanelField field, const std::string& text) {
  SetItemText(FieldId(field), text);
}

int TFormSendPanel::SelectedIndex(PanelList list) const {
  return static_cast<int>(SendMessageW(Item(ListId(list)), CB_GETCURSEL, 0, 0));
}

void TFormSendPanel::Select(PanelList list, int index) {
  SendMessageW(Item(ListId(list)), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TFormSendPanel::ShowPreview(const PreviewPictures& previews) {
  previews_ = previews;
  hasPreview_ = !previews_.picture.Empty();
  for (int id : {IDC_Panel_image, IDC_Panel_d_image}) InvalidateRect(Item(id), nullptr, TRUE);
}

void TFormSendPanel::ClearPreview() {
  previews_ = {};
  hasPreview_ = false;
  for (int id : {IDC_Panel_image, IDC_Panel_d_image}) InvalidateRect(Item(id), nullptr, TRUE);
}

void TFormSendPanel::EnableReaderButton(bool enabled) {
  EnableWindow(Item(IDC_Button_d_reader), enabled);
}

void TFormSendPanel::FocusMessageEnd() {
  HWND memo = Item(IDC_Memo_Message);
  SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(memo), TRUE);
  // The dialog manager selects the whole text on the way in; typing would replace it.
  const LRESULT end = SendMessageW(memo, WM_GETTEXTLENGTH, 0, 0);
  SendMessageW(memo, EM_SETSEL, end, end);
  SendMessageW(memo, EM_SCROLLCARET, 0, 0);
}

void TFormSendPanel::Close() {
  EndModal(IDOK);
}

}  // namespace tavisnap
