// The address book's side of the main window: its fields and lists for the page logic,
// the book over the send panel's lists, and the file dialogs of CSV import and export.
#include <windows.h>
#include <commdlg.h>

#include "addressbook/address_texts.h"
#include "addressbook/csv_export.h"
#include "addressbook/csv_import.h"
#include "mainwindow/form_main_tavisnap_win.h"
#include "mainwindow/mainwindow_resource.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

int FieldId(AddressField field) {
  switch (field) {
    case AddressField::AddName:
      return IDC_Edit_add_name;
    case AddressField::AddMailAdr:
      return IDC_Edit_add_mailadr;
    case AddressField::UpdName:
      return IDC_Edit_upd_name;
    case AddressField::UpdMailAdr:
      return IDC_Edit_upd_mailadr;
    case AddressField::SendAddName:
      return IDC_Edit_send_add_name;
    case AddressField::SendAddMail:
      return IDC_Edit_send_add_mail;
    case AddressField::DstNameDsp:
      return IDC_Main_StaticText_dst_name_dsp;
    case AddressField::DstMailAdrDsp:
      return IDC_StaticText_dst_meailadr_dsp;
  }
  return 0;
}

// The address book as the send panel uses it, over the panel's own six lists.
class PanelAddressBook final : public SendPanelAddressBook {
 public:
  PanelAddressBook(AddressBook& book, const SendPanelCombos& combos)
      : book_(book),
        dst_(combos.dstList),
        to_(combos.mailToList),
        cc_(combos.ccList),
        bcc_(combos.bccList),
        names_(combos.names),
        mailAdrs_(combos.mailAdrs) {}

  void FillLists() override { book_.FillSendPanelLists(dst_, to_, cc_, bcc_, names_, mailAdrs_); }
  std::string NameAt(int index) const override { return names_.Item(index); }
  std::string AddressAt(int index) const override { return mailAdrs_.Item(index); }
  bool SetCurrentRecipient(int index) override {
    return book_.SetCurrentRecipient(names_, mailAdrs_, index, true);
  }

 private:
  AddressBook& book_;
  ComboChoiceList dst_, to_, cc_, bcc_, names_, mailAdrs_;
};

// The dialogs take their filter as pairs separated by NUL, ending in two.
std::wstring DialogFilter(const char* pipeSeparated) {
  std::wstring filter = Widen(pipeSeparated);
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  filter.push_back(L'\0');
  return filter;
}

}  // namespace

// By AddressListId.
constexpr int kListIds[] = {IDC_Main_ComboBox_dst_list, IDC_ComboBox_upd_maillist,
                            IDC_ComboBox_del_maillist, IDC_Main_ComboBox_name,
                            IDC_Main_ComboBox_mailadr};

void TFormMainTavisnap::ConnectAddressLists() {
  for (size_t i = 0; i < lists_.size(); ++i) lists_[i] = ComboChoiceList(Item(kListIds[i]));
}

std::string TFormMainTavisnap::Text(AddressField field) const {
  return ItemText(FieldId(field));
}

void TFormMainTavisnap::SetText(AddressField field, const std::string& text) {
  SetItemText(FieldId(field), text);
}

ChoiceList& TFormMainTavisnap::List(AddressListId list) {
  return lists_[static_cast<size_t>(list)];
}

void TFormMainTavisnap::OnListSelect(int id) {
  if (id == IDC_ComboBox_upd_maillist) addressPages_.UpdMaillistSelect();
}

std::optional<std::string> TFormMainTavisnap::ChooseCsvFile(bool save) {
  std::wstring filter = DialogFilter(save ? kExportFilter : kImportFilter);
  std::wstring path(MAX_PATH * 4, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = hwnd();
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!save) dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  // Export appends to an existing file: no overwrite question, no extension added.
  BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  path.resize(wcslen(path.c_str()));
  return Narrow(path);
}

void TFormMainTavisnap::CsvLumpClick() {
  tavisnap::CsvLumpClick(
      addressBook_, prompter_, [this] { return ChooseCsvFile(false); }, csvHourglass_);
}

void TFormMainTavisnap::exportClick() {
  ExportClick(
      Settings, prompter_, [this] { return ChooseCsvFile(true); }, csvHourglass_);
}

TFormSendPanel::AddressBookFactory TFormMainTavisnap::SendPanelAddressBookFactory() {
  return [this](const SendPanelCombos& combos) {
    return std::make_unique<PanelAddressBook>(addressBook_, combos);
  };
}

}  // namespace tavisnap
