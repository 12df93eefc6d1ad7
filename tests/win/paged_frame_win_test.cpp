// PagedFrame in a real (Wine) window system: where the pages lie, their place in the
// tab order, and which one is shown.
#include "win/paged_frame_win.h"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "framework_test_res.h"
#include "support/driver_win.h"

namespace tavisnap::testing {
namespace {

constexpr LayoutFont kFont{L"MS UI Gothic", 12};
constexpr Placement kFramePlacements[] = {
    {IDC_Test_Tabs, 8, 8, 300, 200},
    {IDC_Test_AfterTabs, 208, 216, 100, 28},
};
constexpr DialogLayout kFrameLayout{316, 252, kFont, kFramePlacements};
constexpr Placement kPagePlacements[] = {{IDC_Test_PageButton, 5, 5, 120, 28}};
constexpr DialogLayout kPageLayout{0, 0, kFont, kPagePlacements};

class PagedTestFrame : public Dialog {
 public:
  explicit PagedTestFrame(std::optional<Placement> area) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    Create(IDD_TestPagedFrame, nullptr);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"頁");
    SendMessageW(Item(IDC_Test_Tabs), TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (area) paged = PagedFrame(*area);
    for (auto& page : pages) page = std::make_unique<PageDialog>(IDD_TestPage, hwnd(), kPageLayout);
    paged.SetPages(Item(IDC_Test_Tabs), {pages[0].get(), pages[1].get()});
  }
  const DialogLayout* Layout() const override { return &kFrameLayout; }

  PagedFrame paged;
  std::unique_ptr<PageDialog> pages[2];
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(PagedFrame, PagesLieOnTheirAreaRightAfterTheTabControlInTabOrder) {
  struct Case {
    const char* name;
    std::optional<Placement> area;
    UINT dpi;
  };
  const Case cases[] = {
      {"the tab control's display area", std::nullopt, 96},
      {"an area below the strip", Placement{0, 0, 40, 316, 160}, 96},
      {"that area at 144 dpi", Placement{0, 0, 40, 316, 160}, 144},
  };
  for (const Case& c : cases) {
    PagedTestFrame frame(c.area);
    HWND tab = frame.Item(IDC_Test_Tabs);
    frame.paged.Place(c.dpi);
    RECT wanted;
    if (c.area) {
      wanted = {ScaleForDpi(c.area->x, c.dpi), ScaleForDpi(c.area->y, c.dpi),
                ScaleForDpi(c.area->x + c.area->width, c.dpi),
                ScaleForDpi(c.area->y + c.area->height, c.dpi)};
    } else {
      wanted = RectIn(tab, frame.hwnd());
      SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&wanted));
    }
    for (auto& page : frame.pages) {
      EXPECT_TRUE(SameRect(RectIn(page->hwnd(), frame.hwnd()), wanted)) << c.name;
    }
    // Z order is tab order: the tab control, the pages in page order, then the rest.
    EXPECT_EQ(GetWindow(tab, GW_HWNDNEXT), frame.pages[0]->hwnd()) << c.name;
    EXPECT_EQ(GetWindow(frame.pages[0]->hwnd(), GW_HWNDNEXT), frame.pages[1]->hwnd()) << c.name;
    EXPECT_EQ(GetWindow(frame.pages[1]->hwnd(), GW_HWNDNEXT), frame.Item(IDC_Test_AfterTabs))
        << c.name;
  }
}

TEST(PagedFrame, OnePageIsShownAndEnabledTheOthersHiddenAndDisabled) {
  PagedTestFrame frame(std::nullopt);
  ShowWindow(frame.hwnd(), SW_SHOWNA);
  for (size_t shown : {1u, 0u, 1u}) {
    frame.paged.Show(shown);
    for (size_t i = 0; i < 2; ++i) {
      HWND page = frame.pages[i]->hwnd();
      EXPECT_EQ(IsWindowVisible(page) != FALSE, i == shown) << shown << " " << i;
      EXPECT_EQ(IsWindowEnabled(page) != FALSE, i == shown) << shown << " " << i;
    }
  }
}

}  // namespace
}  // namespace tavisnap::testing
