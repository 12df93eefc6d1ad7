// The start-up account window TFormInit: new registration, sign-in and password notice
// before the program has a signed-in account. It lives from start-up to the end and is
// only ever hidden; the decisions are FormInitLogic's.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "account/form_init_logic.h"
#include "account/init_view.h"
#include "account/main_window_services.h"
#include "core/prompter_win.h"
#include "win/paged_frame_win.h"
#include "win/window_win.h"

namespace tavisnap {

// The Help menu's three entries; an empty one does nothing.
struct InitHelpActions {
  std::function<void(HWND owner)> helpDisp;  // IniMenuHelpDisp, also F1
  std::function<void(HWND owner)> readme;    // IniMenuReadme
  std::function<void(HWND owner)> version;   // IniMenuVersion
};

class TFormInit : public Dialog, private InitView {
 public:
  const DialogLayout* Layout() const override;
  // Creates the window hidden, on the page the stored account calls for. Without a
  // prompter the program's message boxes are used.
  explicit TFormInit(MainWindowServices& services, HWND owner = nullptr,
                     Prompter* prompter = nullptr);

  // Makes the window visible and brings it in front with the focus on its page.
  void Show();
  // Start-up's automatic sign-in with the window hidden.
  void AutoSignIn() { logic_.AutoSignIn(); }
  bool IsVisible() const override { return Dialog::IsVisible(); }
  void SetHelpActions(InitHelpActions actions) { help_ = std::move(actions); }
  int Page() const { return page_; }
  const PageDialog& PageOf(int page) const { return *pages_[page]; }

 protected:
  void OnLayout(UINT dpi) override;
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  void OnClose() override;
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PreparePages();
  static void DrawTwoLineCaption(const DRAWITEMSTRUCT& item);
  void RunHelp(const std::function<void(HWND)>& action);
  void FocusControl(int id);
  bool FocusIsOnPage(int page) const;

  // InitView
  std::string Text(InitField field) const override;
  void SetText(InitField field, const std::string& text) override;
  bool AutoLoginChecked() const override;
  void SetAutoLoginChecked(bool checked) override;
  void ShowPage(int page) override;
  void EnablePageMenuItems(bool enabled) override;
  void FocusPassword() override;
  void MakeVisible() override;
  void BringToFront() override;
  void Hide() override;

  Win32Prompter ownPrompter_;
  FormInitLogic logic_;
  std::array<std::unique_ptr<PageDialog>, 2> pages_;  // by page number
  PagedFrame paged_;
  InitHelpActions help_;
  int page_ = kPageNewReg;
  int focusOnShow_ = 0;  // control to focus when the hidden window is shown
};

}  // namespace tavisnap
