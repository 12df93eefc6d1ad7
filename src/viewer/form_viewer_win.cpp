#include "viewer/form_viewer_win.h"

#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>

#include "core/app_error.h"
#include "viewer/form_viewer_res.h"
#include "viewer/viewer_texts.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr DialogLayout kLayout{1008, 752, LayoutFont{L"ＭＳ Ｐゴシック", 12}, {}};

// Positions of the menus in ViewerMenuData that return the display to 100 % when they open.
constexpr int kPictureMenuPos = 2;
constexpr int kDiagramMenuPos = 3;

constexpr int kModeEntries[] = {IDM_ShapeLine, IDM_ShapeRect, IDM_ShapeEllipse, IDM_ShapeFree};
constexpr int kColourEntries[] = {IDM_Black, IDM_White, IDM_Red, IDM_Blue, IDM_Yellow};

// The filter's "|" separated pairs as the common dialogs take them: NUL separated, two
// NULs at the end.
std::wstring DialogFilter() {
  std::wstring filter = Widen(kFileDialogFilter);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.push_back(L'\0');
  return filter;
}

ViewerKey KeyOf(WPARAM vk) {
  switch (vk) {
    case VK_UP:
      return ViewerKey::Up;
    case VK_DOWN:
      return ViewerKey::Down;
    case VK_LEFT:
      return ViewerKey::Left;
    case VK_RIGHT:
      return ViewerKey::Right;
    case VK_PRIOR:
      return ViewerKey::PageUp;
    case VK_NEXT:
      return ViewerKey::PageDown;
    case VK_HOME:
      return ViewerKey::Home;
    case VK_END:
      return ViewerKey::End;
    default:
      return ViewerKey::Other;
  }
}

bool Down(int vk) {
  return GetKeyState(vk) < 0;
}

BITMAPINFO InfoFor(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top-down, as a Picture holds them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

std::optional<std::string> ChoosePictureFile(HWND owner, FileDialogKind kind) {
  const std::wstring filter = DialogFilter();
  std::wstring file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  const BOOL chosen =
      kind == FileDialogKind::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
  if (!chosen) return std::nullopt;
  file.resize(wcslen(file.c_str()));
  return Narrow(file);
}

TFormViewer::TFormViewer(HWND owner, Prompter& prompter, CaptureSender captureSend, HICON icon,
                         FileChooser chooser)
    : icon_(icon), chooser_(std::move(chooser)) {
  Create(IDD_FormViewer, owner);
  if (!hwnd()) throw AppError("画像viewerを作成できません");
  if (icon_) {
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  logic_ = std::make_unique<FormViewerLogic>(static_cast<ViewerView&>(*this), prompter,
                                             std::move(captureSend));
  logic_->FormCreate();
  ClientResized();
}

TFormViewer::~TFormViewer() {
  if (hwnd()) DestroyWindow(hwnd());
}

const DialogLayout* TFormViewer::Layout() const {
  return &kLayout;
}

void TFormViewer::Show() {
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

void TFormViewer::ShowModal() {
  RunModal();
}

// ---- Keys ----

bool TFormViewer::PreTranslateMessage(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const ViewerKey key = KeyOf(msg.wParam);
  const bool shiftAlone = Down(VK_SHIFT) && !Down(VK_CONTROL) && !Down(VK_MENU);
  // Alt with a key that is not ours belongs to the menu bar.
  if (msg.message == WM_SYSKEYDOWN && key == ViewerKey::Other) return false;
  if (logic_->KeyDown(key, shiftAlone)) DropPendingKeys();
  return key != ViewerKey::Other;
}

// Key repeats queued during a slow zoom or rotation would start it again and again.
void TFormViewer::DropPendingKeys() {
  MSG pending;
  while (PeekMessageW(&pending, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
  }
}

// ---- Menu ----

bool TFormViewer::OnCommand(int id, int /*code*/) {
  FormViewerLogic& logic = *logic_;
  switch (id) {
    case IDM_FileOpen:
      if (auto file = chooser_(hwnd(), FileDialogKind::Open)) logic.FileOpen(*file);
      return true;
    case IDM_FileSave:
      if (auto file = chooser_(hwnd(), FileDialogKind::Save)) logic.FileSave(*file);
      return true;
    case IDM_ReDraw:
      logic.ReDrawClick();
      return true;
    case IDM_Send:
      logic.SendClick();
      return true;
    case IDM_FileExit:
      OnClose();
      return true;
    case IDM_Expand:
    case IDM_Reduce:
    case IDM_RRotate:
    case IDM_LRotate: {
      constexpr KeySender kSenders[] = {KeySender::Expand, KeySender::Reduce, KeySender::RRotate,
                                        KeySender::LRotate};
      if (logic.ZoomRotateClick(kSenders[id - IDM_Expand])) DropPendingKeys();
      return true;
    }
    case IDM_Reverse_yellow:
      logic.TwoColourClick();
      return true;
    case IDM_reverse:
      logic.InvertClick();
      return true;
    case IDM_ShapeLine:
    case IDM_ShapeRect:
    case IDM_ShapeEllipse:
    case IDM_ShapeFree:
    case IDM_ModeRelease: {
      constexpr DrawMode kModes[] = {DrawMode::Line, DrawMode::Rectangle, DrawMode::Ellipse,
                                     DrawMode::Free, DrawMode::None};
      logic.ChooseDrawMode(kModes[id - IDM_ShapeLine]);
      return true;
    }
    case IDM_Black:
    case IDM_White:
    case IDM_Red:
    case IDM_Blue:
    case IDM_Yellow: {
      constexpr DrawColour kColours[] = {DrawColour::Black, DrawColour::White, DrawColour::Red,
                                         DrawColour::Blue, DrawColour::Yellow};
      logic.ChooseDrawColour(kColours[id - IDM_Black]);
      return true;
    }
    case IDOK:  // Enter and Escape of the dialog manager do nothing here
    case IDCANCEL:
      return true;
    default:
      return false;
  }
}

void TFormViewer::OnClose() {
  if (mouseDown_) ReleaseCapture();
  logic_->FormClose();
  Dialog::OnClose();
}

// ---- Messages ----

INT_PTR TFormViewer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (!logic_) return FALSE;  // still being created
  const PixelPoint at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  switch (msg) {
    case WM_PAINT:
      Paint();
      return TRUE;
    case WM_ERASEBKGND:
      return TRUE;  // Paint fills what the picture leaves
    case WM_SIZE:
      ClientResized();
      return TRUE;
    case WM_HSCROLL:
      Scroll(SB_HORZ, LOWORD(wp));
      return TRUE;
    case WM_VSCROLL:
      Scroll(SB_VERT, LOWORD(wp));
      return TRUE;
    case WM_MOUSEWHEEL:
      logic_->MouseWheel(GET_WHEEL_DELTA_WPARAM(wp));
      return FALSE;  // left to the default handling as well
    case WM_INITMENUPOPUP: {
      if (HIWORD(lp)) return FALSE;  // the window menu
      HMENU bar = GetMenu(hwnd());
      HMENU popup = reinterpret_cast<HMENU>(wp);
      if (popup == GetSubMenu(bar, kPictureMenuPos) || popup == GetSubMenu(bar, kDiagramMenuPos)) {
        logic_->SubmenuOpened();
      }
      return TRUE;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SetCapture(hwnd());
      mouseDown_ = true;
      logic_->MouseDown(at);
      return TRUE;
    case WM_MOUSEMOVE:
      logic_->MouseMove(at);
      return TRUE;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (mouseDown_) {
        mouseDown_ = false;
        ReleaseCapture();
      }
      logic_->MouseUp(at);
      return TRUE;
    case WM_SETCURSOR:
      if (!hourglass_ || LOWORD(lp) != HTCLIENT) return FALSE;
      SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
      return TRUE;
    default:
      return FALSE;
  }
}

// Straight from Image1's memory, only the rows on show, rendered now if a zoom left them to
// be: a zoomed picture is never rendered or copied whole for the screen.
void TFormViewer::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  const PixelRect area = logic_->Image1Area();
  const int left = -logic_->Horizontal().Position();
  const int top = -logic_->Vertical().Position();
  RECT picture{left, top, left + area.right, top + area.bottom};
  RECT shown;
  if (area.right > 0 && area.bottom > 0 && IntersectRect(&shown, &picture, &ps.rcPaint)) {
    const int firstRow = shown.top - top;
    const int rows = shown.bottom - shown.top;
    const int width = shown.right - shown.left;
    const Picture& image = logic_->Image1Rows(firstRow, firstRow + rows);
    // A DIB of just those rows, so that the source rectangle starts at its first row
    // whichever way the DIB is turned.
    BITMAPINFO info = InfoFor(image.Width(), rows);
    StretchDIBits(dc, shown.left, shown.top, width, rows, shown.left - left, 0, width, rows,
                  image.Row(firstRow), &info, DIB_RGB_COLORS, SRCCOPY);
  }
  // The rest of the client area, beside and below the picture.
  HRGN rest = CreateRectRgnIndirect(&ps.rcPaint);
  HRGN covered = CreateRectRgnIndirect(&picture);
  CombineRgn(rest, rest, covered, RGN_DIFF);
  FillRgn(dc, rest, GetSysColorBrush(COLOR_BTNFACE));
  DeleteObject(covered);
  DeleteObject(rest);
  EndPaint(hwnd(), &ps);
}

void TFormViewer::Scroll(int bar, int code) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(hwnd(), bar, &info);
  const ScrollAxis& axis = bar == SB_HORZ ? logic_->Horizontal() : logic_->Vertical();
  int64_t position = axis.Position();
  switch (code) {
    case SB_LINEUP:
      position -= 10;
      break;
    case SB_LINEDOWN:
      position += 10;
      break;
    case SB_PAGEUP:
      position -= axis.Page();
      break;
    case SB_PAGEDOWN:
      position += axis.Page();
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      position = info.nTrackPos;
      break;
    case SB_TOP:
      position = 0;
      break;
    case SB_BOTTOM:
      position = axis.MaxPosition();
      break;
    default:
      return;
  }
  logic_->ScrollTo(bar == SB_HORZ ? ScrollBar::Horizontal : ScrollBar::Vertical, position);
}

void TFormViewer::ClientResized() {
  if (!logic_) return;
  RECT client;
  GetClientRect(hwnd(), &client);
  logic_->ClientResized(client.right, client.bottom);
}

// ---- ViewerView ----

void TFormViewer::PictureChanged(const PixelRect& area) {
  const int left = -logic_->Horizontal().Position();
  const int top = -logic_->Vertical().Position();
  // A picture of another size may leave uncovered background: the whole client area.
  if (area == logic_->Image1Area()) {
    InvalidateRect(hwnd(), nullptr, FALSE);
    return;
  }
  RECT changed{left + area.left, top + area.top, left + area.right, top + area.bottom};
  InvalidateRect(hwnd(), &changed, FALSE);
}

void TFormViewer::SetScrollBars(const ScrollAxis& horizontal, const ScrollAxis& vertical) {
  for (const auto& [bar, axis] : {std::pair{SB_HORZ, &horizontal}, std::pair{SB_VERT, &vertical}}) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = axis->Range() > 0 ? axis->Range() - 1 : 0;
    info.nPage = static_cast<UINT>(axis->Needed() ? axis->Page() : axis->Range() + 1);
    info.nPos = axis->Position();
    SetScrollInfo(hwnd(), bar, &info, TRUE);
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TFormViewer::EnableEntry(int id, bool enabled) {
  EnableMenuItem(GetMenu(hwnd()), id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void TFormViewer::EnableReDraw(bool enabled) {
  EnableEntry(IDM_ReDraw, enabled);
}

void TFormViewer::EnableSend(bool enabled) {
  EnableEntry(IDM_Send, enabled);
}

void TFormViewer::CheckDrawMode(DrawMode mode) {
  constexpr DrawMode kModes[] = {DrawMode::Line, DrawMode::Rectangle, DrawMode::Ellipse,
                                 DrawMode::Free};
  for (int i = 0; i < 4; ++i) {
    CheckMenuItem(GetMenu(hwnd()), kModeEntries[i],
                  MF_BYCOMMAND | (kModes[i] == mode ? MF_CHECKED : MF_UNCHECKED));
  }
}

void TFormViewer::CheckDrawColour(DrawColour colour) {
  for (int i = 0; i < 5; ++i) {
    CheckMenuItem(GetMenu(hwnd()), kColourEntries[i],
                  MF_BYCOMMAND | (static_cast<int>(colour) == i ? MF_CHECKED : MF_UNCHECKED));
  }
}

void TFormViewer::SetHourglass(bool on) {
  hourglass_ = on;
  SetCursor(LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

}  // namespace tavisnap
