#include "app/send_panel_win.h"

#include <commctrl.h>

#include <set>
#include <vector>

#include "capture/form_send_panel_res.h"

namespace tavisnap::testing {
namespace {

int IdOf(PanelText text) {
  switch (text) {
    case PanelText::Mode:
      return IDC_StaticText_Image;
    case PanelText::DetailMode:
      return IDC_StaticText_d_Image;
    case PanelText::DstName:
      return IDC_SendPanel_StaticText_dst_name_dsp;
    case PanelText::DstMailAdr:
      return IDC_StaticText_dst_mailadr_dsp;
    case PanelText::MailTo:
      return IDC_Edit_MailTo_Email;
    case PanelText::Cc:
      return IDC_Edit_Cc_Email;
    case PanelText::Bcc:
      return IDC_Edit_Bcc_Email;
    case PanelText::Message:
      return IDC_Memo_Message;
  }
  return 0;
}

}  // namespace

HWND SendPanelWindow(DWORD pid) {
  return FindTopWindow(L"#32770", L"タビスナップ－送信パネル－", pid, true);
}

HWND PressHotKeyForPanel(DWORD pid, std::initializer_list<WORD> keys, Millis timeout) {
  PressKeys(keys);
  HWND panel = nullptr;
  WaitUntil([&] { return (panel = SendPanelWindow(pid)) != nullptr; }, timeout);
  if (panel) Pump(300ms);  // the preview drawn
  return panel;
}

std::wstring TextOf(HWND panel, PanelText text) {
  return TextOf(ControlOf(panel, text));
}

HWND ControlOf(HWND panel, PanelText text) {
  return FindChildById(panel, IdOf(text));
}

bool PreviewShown(HWND panel) {
  HWND preview = FindChildById(panel, IDC_Panel_image);
  RECT r;
  if (!preview || !GetWindowRect(preview, &r)) return false;
  std::vector<uint32_t> pixels = ScreenPixels(r);
  std::set<uint32_t> colours;
  for (size_t i = 0; i < pixels.size() && colours.size() < 16; i += 7) colours.insert(pixels[i]);
  return colours.size() >= 16;
}

void ShowPanelPage(HWND panel, bool detailed) {
  // Focusing a tab selects it, with the notifications a click sends.
  SendMessageW(FindChildById(panel, IDC_SendPanel_PageControlData), TCM_SETCURFOCUS,
               detailed ? 1 : 0, 0);
  HWND shown = FindChildById(panel, detailed ? IDC_Button_d_Send_exec : IDC_Button_send_exec);
  WaitUntil([&] { return IsWindowVisible(shown) != FALSE; }, 3s);
}

void AddCopyFromList(HWND panel, bool bcc, int index) {
  HWND list = FindChildById(panel, bcc ? IDC_ComboBox_Bcc_list : IDC_ComboBox_Cc_list);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  HWND edit = FindChildById(panel, bcc ? IDC_Edit_Bcc_Email : IDC_Edit_Cc_Email);
  std::wstring before = TextOf(edit);
  Click(FindChildById(panel, bcc ? IDC_Button_Bcc_Add : IDC_Button_Cc_Add));
  WaitUntil([&] { return TextOf(edit) != before; }, 3s);
}

void TypeMessage(HWND panel, const std::wstring& text) {
  SetText(FindChildById(panel, IDC_Memo_Message), text);
}

void PressPanelButton(HWND panel, bool cancel, bool detailed) {
  int id = cancel ? (detailed ? IDC_Button_d_cancel : IDC_SendPanel_Button_cancel)
                  : (detailed ? IDC_Button_d_Send_exec : IDC_Button_send_exec);
  Click(FindChildById(panel, id));
}

SendOutcome SendAndWaitForResult(DWORD pid, HWND panel, bool detailed, Millis timeout,
                                 const char* transferShot, const char* resultShot) {
  SendOutcome outcome;
  PressPanelButton(panel, false, detailed);
  auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (!outcome.transferWindowSeen && FindTopWindow(L"", L"タビスナップ送信中", pid, true)) {
      outcome.transferWindowSeen = true;
      if (transferShot) SaveScreenshot(transferShot);
    }
    if (auto box = WaitForMessageBox(pid, 0ms)) {
      outcome.result = box;
      if (resultShot) {
        Pump(200ms);
        SaveScreenshot(resultShot);
      }
      AnswerMessageBox(*box, IDOK);
      break;
    }
    Pump(20ms);
  }
  return outcome;
}

}  // namespace tavisnap::testing
