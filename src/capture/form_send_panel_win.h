// The send panel TFormSendPanel: shows the capture and its recipient, and leaves the
// user's answer in the send parameters. Created once, hidden, shown modally for each
// capture. Every decision is SendPanelLogic's; the window shows and forwards.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "capture/capture_send_ports.h"
#include "capture/send_panel_logic.h"
#include "win/paged_frame_win.h"
#include "win/window_win.h"

namespace tavisnap {

// The panel's six drop-down lists, which the address book fills.
struct SendPanelCombos {
  HWND dstList = nullptr;
  HWND mailToList = nullptr;
  HWND ccList = nullptr;
  HWND bccList = nullptr;
  HWND names = nullptr;     // hidden ComboBox_name
  HWND mailAdrs = nullptr;  // hidden ComboBox_mailadr
};

class TFormSendPanel final : public Dialog, public SendPanel, private SendPanelView {
 public:
  // The address book over the panel's own lists, made once the lists exist.
  using AddressBookFactory =
      std::function<std::unique_ptr<SendPanelAddressBook>(const SendPanelCombos&)>;

  TFormSendPanel(HWND owner, Prompter& prompter, AddressBookFactory makeBook, HICON icon = nullptr,
                 TTypSendParam& param = SendParam);
  ~TFormSendPanel() override;

  const DialogLayout* Layout() const override;

  // SendPanel: FormShow, then modal until a button or the close box ends it.
  void ShowModal(TTypSendParam& param) override;
  void Prefill(const PanelPrefill& prefill) override { logic_->SetPrefill(prefill); }

  // How the Viewer buttons hand the capture to the viewer window; they work from then on.
  void SetViewerHandOver(std::function<void()> handOver);

  SendPanelLogic& logic() { return *logic_; }
  PanelPage CurrentPage() const { return currentPage_; }
  void ShowPage(PanelPage page) override;
  const PageDialog& PageOf(PanelPage page) const;

 protected:
  bool OnInit() override { return false; }
  void OnLayout(UINT dpi) override;
  bool OnCommand(int id, int code) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  void OnClose() override;
  bool PreTranslateMessage(const MSG& msg) override;
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // SendPanelView
  std::string Text(PanelField field) const override;
  void SetText(PanelField field, const std::string& text) override;
  int SelectedIndex(PanelList list) const override;
  void Select(PanelList list, int index) override;
  void ShowPreview(const PreviewPictures& previews) override;
  void ClearPreview() override;
  void Close() override;
  void EnableReaderButton(bool enabled) override;
  void FocusMessageEnd() override;

  void DrawPreview(const DRAWITEMSTRUCT& item) const;
  void FocusFirstControl();
  // What a click on the page's tab does, and the focus into the page.
  void ChangePage(PanelPage page);

  HICON icon_;
  std::unique_ptr<PageDialog> easy_;
  std::unique_ptr<PageDialog> detailed_;
  PagedFrame paged_;
  std::unique_ptr<SendPanelAddressBook> book_;
  std::unique_ptr<SendPanelLogic> logic_;
  PanelPage currentPage_ = PanelPage::Easy;
  PreviewPictures previews_;
  bool hasPreview_ = false;
};

}  // namespace tavisnap
