// The viewer window under Wine, in-process: its caption, size and menu, and a user's work
// through it with posted keys and mouse messages: open, zoom, save, rotate, draw, restore
// and scroll. Sending through the flow is the program test beside this one. The rules behind each
// step are the logic's, tested natively.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/define.h"
#include "imaging/bmp_codec.h"
#include "imaging/jpeg_codec.h"
#include "support/driver_win.h"
#include "support/fake_prompter.h"
#include "support/globals.h"
#include "support/temp_dir.h"
#include "viewer/form_viewer_res.h"
#include "viewer/form_viewer_win.h"
#include "viewer/picture_files.h"
#include "viewer/viewer_texts.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr Rgb kGreen{0, 160, 0};
constexpr Rgb kRed{255, 0, 0};

// One menu entry as the user finds it: caption (with its short cut text), or "-" for a
// separator; nested entries indented by two spaces.
void ReadMenu(HMENU menu, const std::string& indent, std::vector<std::string>& out) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
    item.dwTypeData = text;
    item.cch = 127;
    GetMenuItemInfoW(menu, i, TRUE, &item);
    out.push_back(indent + ((item.fType & MFT_SEPARATOR) ? "-" : Narrow(text)));
    if (item.hSubMenu) ReadMenu(item.hSubMenu, indent + "  ", out);
  }
}

UINT StateOf(HWND window, int id) {
  return GetMenuState(GetMenu(window), id, MF_BYCOMMAND);
}

class ViewerWindowTest : public ::testing::Test {
 public:
  static void SetUpTestSuite() {
    prompter_ = new testing::FakePrompter;
    viewer_ = new TFormViewer(
        nullptr, *prompter_, [](int) {}, nullptr,
        [](HWND, FileDialogKind kind) -> std::optional<std::string> {
          chosenKinds_.push_back(kind);
          return nextFile_;
        });
    viewer_->Show();
  }
  static void TearDownTestSuite() {
    delete viewer_;
    delete prompter_;
  }

  void SetUp() override {
    testing::ResetGlobals();
    RunMode = kRunModeOnline;
    prompter_->boxes.clear();
    chosenKinds_.clear();
    Command(IDM_ModeRelease);
    Command(IDM_Black);
  }
  void TearDown() override {
    logic().FormClose();  // as closing does, without hiding the window between tests
    SetShift(false);
    testing::ResetGlobals();
  }

  HWND hwnd() const { return viewer_->hwnd(); }
  FormViewerLogic& logic() { return viewer_->logic(); }

  // Messages are posted and handled by the program's own loop, so that keys pass the
  // window's PreTranslateMessage as typed keys do.
  void Post(UINT msg, WPARAM wp, LPARAM lp) {
    PostMessageW(hwnd(), msg, wp, lp);
    ProcessPendingMessages();
  }
  void Command(int id) { Post(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  void Open(const std::string& file) {
    nextFile_ = file;
    Command(IDM_FileOpen);
  }
  Picture SaveAndRead(const std::string& name) {
    nextFile_ = dir_ / name;
    Command(IDM_FileSave);
    return ReadPictureFile(*nextFile_, PictureFileKindOf(*nextFile_));
  }
  static void SetShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
  }
  // Two key-downs queued at once: the second is a repeat the first one drops.
  void TypeTwice(WPARAM vk) {
    PostMessageW(hwnd(), WM_KEYDOWN, vk, 1);
    PostMessageW(hwnd(), WM_KEYDOWN, vk, 1 | 1 << 30);
    ProcessPendingMessages();
  }
  std::string BmpFile(const std::string& name, const Picture& picture) {
    return dir_.Write(name, EncodeBmp(picture));
  }
  static Picture Filled(int w, int h, Rgb colour) {
    Picture p(w, h);
    p.Fill(colour);
    return p;
  }
  COLORREF ScreenPixel(int x, int y) {
    UpdateWindow(hwnd());
    HDC dc = GetDC(hwnd());
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd(), dc);
    return c;
  }

  testing::TempDir dir_;
  static inline testing::FakePrompter* prompter_ = nullptr;
  static inline TFormViewer* viewer_ = nullptr;
  static inline std::vector<FileDialogKind> chosenKinds_;
  static inline std::optional<std::string> nextFile_;
};

TEST_F(ViewerWindowTest, HasItsCaptionSizeAndEveryMenuEntry) {
  EXPECT_EQ(testing::TextOf(hwnd()), Widen(kViewerCaption));
  RECT client;
  GetClientRect(hwnd(), &client);
  EXPECT_EQ(client.right, 1008);
  EXPECT_EQ(client.bottom, 752);
  std::vector<std::string> menu;
  ReadMenu(GetMenu(hwnd()), "", menu);
  const std::vector<std::string> expected = {"ファイル(&F)",
                                             "  開く(&O)",
                                             "  名前を付けて保存(&A)",
                                             "  -",
                                             "  元に戻す(&R)",
                                             "  タビスナップで送る(&S)",
                                             "  -",
                                             "  終了(&X)",
                                             "拡大縮小・回転(&O)",
                                             "  拡大(&E)\tShift+Up",
                                             "  縮小(&C)\tShift+Down",
                                             "  右回転（&R)",
                                             "  左回転(&L)",
                                             "画像処理(&P)",
                                             "  ２色表示(&X)",
                                             "  反転表示(&R)",
                                             "図形(&D)",
                                             "  直線(&L)",
                                             "  四角形(&R)",
                                             "  楕円(&E)",
                                             "  自由(&F)",
                                             "  -",
                                             "  図形モード解除(&M)",
                                             "  -",
                                             "  描画色(&C)",
                                             "    黒(&B)",
                                             "    白(&W)",
                                             "    赤(&R)",
                                             "    青(&C)",
                                             "    黄(&Y)"};
  EXPECT_EQ(menu, expected);
  EXPECT_TRUE(StateOf(hwnd(), IDM_ReDraw) & MF_GRAYED);
  EXPECT_TRUE(StateOf(hwnd(), IDM_Send) & MF_GRAYED);
  EXPECT_TRUE(StateOf(hwnd(), IDM_Black) & MF_CHECKED);
}

TEST_F(ViewerWindowTest, OpensThroughTheOpenDialogWithItsFilter) {
  const std::string file = dir_ / "shot.JPG";
  WriteJpegFile(file, Filled(40, 30, kGreen));
  // The real dialog, answered from a timer that runs inside its modal loop.
  static std::string typed;
  static std::wstring filter;
  typed = file;
  UINT_PTR timer = SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = testing::FindTopWindow(L"#32770", L"", GetCurrentProcessId(), true);
    if (!box) return;
    KillTimer(nullptr, id);
    HWND types = testing::FindChildById(box, 0x470);  // cmb1: the file types
    wchar_t first[128] = {};
    if (types) SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    filter = first;
    HWND name = testing::FindChildById(box, 0x47c);  // cmb13: the file name
    if (!name) name = testing::FindChildById(box, 0x480);
    SetWindowTextW(name, Widen(typed).c_str());
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  // The suite's chooser is replaced by the real dialog for this one command.
  std::optional<std::string> chosen = ChoosePictureFile(hwnd(), FileDialogKind::Open);
  KillTimer(nullptr, timer);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(filter, L"すべてのファイル (*.jpg;*.jpeg;*.bmp;)");
  logic().FileOpen(*chosen);
  EXPECT_EQ(logic().Image1().Width(), 40);
  EXPECT_FALSE(StateOf(hwnd(), IDM_Send) & MF_GRAYED);
}

TEST_F(ViewerWindowTest, ShowsZoomsSavesAndRotatesAPicture) {
  Open(BmpFile("green.bmp", Filled(120, 80, kGreen)));
  ASSERT_EQ(chosenKinds_, std::vector<FileDialogKind>{FileDialogKind::Open});
  EXPECT_EQ(ScreenPixel(5, 5), RGB(0, 160, 0));
  EXPECT_EQ(ScreenPixel(130, 5), GetSysColor(COLOR_BTNFACE));
  EXPECT_FALSE(StateOf(hwnd(), IDM_ReDraw) & MF_GRAYED);

  SetShift(true);
  TypeTwice(VK_UP);
  EXPECT_EQ(logic().ZoomLevel(), 1);  // the queued repeat was dropped
  for (int i = 1; i < 10; ++i) Post(WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(logic().ZoomLevel(), 10);
  Picture saved = SaveAndRead("zoomed.bmp");
  EXPECT_EQ(saved.Width(), 240);
  EXPECT_EQ(saved.Height(), 160);
  EXPECT_EQ(ScreenPixel(230, 5), RGB(0, 160, 0));

  Post(WM_KEYDOWN, VK_RIGHT, 1);  // typed: no rotation
  EXPECT_EQ(logic().Image1().Width(), 240);
  SetShift(false);
  Command(IDM_RRotate);
  EXPECT_EQ(logic().ZoomLevel(), 0);
  EXPECT_EQ(logic().Image1().Width(), 80);
  EXPECT_EQ(logic().Image1().Height(), 120);
}

TEST_F(ViewerWindowTest, DrawsARectangleWithTheMouseAndRestores) {
  Open(BmpFile("white.bmp", Filled(100, 100, Rgb{255, 255, 255})));
  Command(IDM_ShapeRect);
  Command(IDM_Red);
  EXPECT_TRUE(StateOf(hwnd(), IDM_ShapeRect) & MF_CHECKED);
  EXPECT_TRUE(StateOf(hwnd(), IDM_Red) & MF_CHECKED);
  EXPECT_FALSE(StateOf(hwnd(), IDM_Black) & MF_CHECKED);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 40));
  Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(70, 60));
  Post(WM_LBUTTONUP, 0, MAKELPARAM(70, 60));
  EXPECT_EQ(ScreenPixel(20, 40), RGB(255, 0, 0));

  Picture saved = SaveAndRead("drawn.jpg");
  auto alike = [](Rgb a, Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) < 60;
  };
  EXPECT_TRUE(alike(saved.Pixel(20, 40), kRed));                // left side
  EXPECT_TRUE(alike(saved.Pixel(45, 60), kRed));                // bottom side
  EXPECT_TRUE(alike(saved.Pixel(45, 40), Rgb{255, 255, 255}));  // inside: not filled
  EXPECT_TRUE(alike(saved.Pixel(60, 30), Rgb{255, 255, 255}));  // the rubber band is gone

  Command(IDM_ReDraw);
  EXPECT_EQ(ScreenPixel(20, 40), RGB(255, 255, 255));
  EXPECT_EQ(logic().Image1().Pixel(20, 40), (Rgb{255, 255, 255}));
}

// Keys typed on the keyboard reach the window through the system's input, focus included.
TEST_F(ViewerWindowTest, TypedShiftUpZoomsAndTypedShiftRightDoesNotRotate) {
  Open(BmpFile("typed.bmp", Filled(60, 40, kGreen)));
  SetForegroundWindow(hwnd());
  ProcessPendingMessages();
  auto send = [](WORD key, DWORD flags) {
    INPUT input{INPUT_KEYBOARD, {.ki = {key, 0, flags, 0, 0}}};
    SendInput(1, &input, sizeof input);
    Sleep(150);  // through the system to the queue
    ProcessPendingMessages();
  };
  // Shift first, on its own, as a hand presses it: its key-down drops what is queued.
  auto type = [&](std::vector<WORD> keys) {
    send(VK_SHIFT, 0);
    send(keys[1], 0);
    send(keys[1], KEYEVENTF_KEYUP);
    send(VK_SHIFT, KEYEVENTF_KEYUP);
  };
  type({VK_SHIFT, VK_UP});
  EXPECT_EQ(logic().ZoomLevel(), 1);
  type({VK_SHIFT, VK_RIGHT});
  EXPECT_EQ(logic().Image1().Width(), 66);  // 60 at 110 %, not turned
  type({VK_SHIFT, VK_DOWN});
  EXPECT_EQ(logic().ZoomLevel(), 0);
}

TEST_F(ViewerWindowTest, OpeningTheProcessingAndDiagramMenusReturnsTo100Percent) {
  Open(BmpFile("small.bmp", Filled(50, 40, kGreen)));
  HMENU bar = GetMenu(hwnd());
  struct Case {
    HMENU popup;
    int position;
    int level;
  };
  const Case cases[] = {{GetSubMenu(bar, 2), 2, 0},
                        {GetSubMenu(bar, 3), 3, 0},
                        {GetSubMenu(GetSubMenu(bar, 3), 7), 7, 3},  // 描画色: no reset
                        {GetSubMenu(bar, 1), 1, 3}};
  for (const Case& c : cases) {
    Command(IDM_Expand);
    Command(IDM_Expand);
    Command(IDM_Expand);
    ASSERT_EQ(logic().ZoomLevel(), 3);
    SendMessageW(hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(c.popup), c.position);
    EXPECT_EQ(logic().ZoomLevel(), c.level) << c.position;
    Command(IDM_ReDraw);
  }
}

TEST_F(ViewerWindowTest, ScrollsWithKeysAndTheWheel) {
  Picture large = Filled(1600, 1200, kGreen);
  large.FillRect(10, 50, 1590, 1150, kRed);  // red from (10, 50) on
  Open(BmpFile("large.bmp", large));
  EXPECT_EQ(ScreenPixel(0, 0), RGB(0, 160, 0));
  Post(WM_KEYDOWN, VK_NEXT, 1);
  Post(WM_KEYDOWN, VK_RIGHT, 1);
  EXPECT_EQ(GetScrollPos(hwnd(), SB_VERT), 50);
  EXPECT_EQ(GetScrollPos(hwnd(), SB_HORZ), 10);
  EXPECT_EQ(ScreenPixel(0, 0), RGB(255, 0, 0));  // the picture's (10, 50)
  Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(GetScrollPos(hwnd(), SB_VERT), 100);
  Post(WM_KEYDOWN, VK_END, 1);
  RECT client;
  GetClientRect(hwnd(), &client);
  EXPECT_EQ(GetScrollPos(hwnd(), SB_VERT), 1200 - client.bottom);
  Post(WM_KEYDOWN, VK_HOME, 1);
  EXPECT_EQ(GetScrollPos(hwnd(), SB_VERT), 0);

  Command(IDM_Expand);  // zoomed, the rows scrolled to are rendered as they are painted
  Post(WM_KEYDOWN, VK_END, 1);
  EXPECT_EQ(ScreenPixel(client.right - 1, client.bottom - 1), RGB(255, 0, 0));
}

}  // namespace
}  // namespace tavisnap
