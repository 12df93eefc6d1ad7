// The address book through the real main window: its menus, pages, message boxes and
// file dialogs, with system.ini checked byte for byte in code page 932.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "core/define.h"
#include "core/settings_list.h"
#include "main_window_fixture_win.h"
#include "mainwindow/mainwindow_resource.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

// What the user does in the modal windows one action opens, in order.
struct Answer {
  int button;  // IDOK or IDCANCEL of a message box
};
struct ChooseFile {
  std::string path;  // typed into the file dialog, then OK
};
using Step = std::variant<Answer, ChooseFile>;

// The edit of the file name box (cmb13) in the file dialog of this process, if one is open.
HWND FileNameEdit() {
  for (HWND w : TopWindows(GetCurrentProcessId())) {
    if (!IsWindowVisible(w) || ClassOf(w) != L"#32770") continue;
    for (HWND child : Children(w)) {
      if (GetDlgCtrlID(child) == 0x47C && ClassOf(child) == L"Edit") return child;
    }
  }
  return nullptr;
}

// Plays the steps on a second thread while the test's thread sits in the modal loops;
// Texts() is what each message box said.
class User {
 public:
  explicit User(std::vector<Step> steps) {
    thread_ = std::thread([this, steps = std::move(steps)] {
      for (const Step& step : steps) {
        if (auto* answer = std::get_if<Answer>(&step)) {
          auto box = WaitForMessageBox(GetCurrentProcessId(), 10s);
          if (!box) return;
          texts_.push_back(Narrow(box->text));
          AnswerMessageBox(*box, answer->button);
        } else {
          HWND name = nullptr;
          WaitUntil([&] { return (name = FileNameEdit()) != nullptr; }, 10s);
          if (!name) return;
          HWND dialog = GetAncestor(name, GA_ROOT);
          std::this_thread::sleep_for(300ms);  // the dialog fills its boxes after it shows
          SetText(name, Widen(std::get<ChooseFile>(step).path));
          Click(GetDlgItem(dialog, IDOK));
          WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 5s);
          texts_.push_back("<file>");
        }
      }
    });
  }
  ~User() { Texts(); }
  const std::vector<std::string>& Texts() {
    if (thread_.joinable()) thread_.join();
    return texts_;
  }

 private:
  std::thread thread_;
  std::vector<std::string> texts_;
};

class AddressBookWindow : public MainWindowTest {
 protected:
  HWND Page(int controlId) const { return GetParent(Ctl(controlId)); }
  void Exec(std::vector<Step> steps, std::vector<std::string> expected) {
    User user(std::move(steps));
    Click(Ctl(IDC_Button_exec));
    Pump(200ms);
    EXPECT_EQ(user.Texts(), expected);
  }
  void Choose(int comboId, int index) {
    SendMessageW(Ctl(comboId), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(Page(comboId), WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Ctl(comboId)));
  }
  std::string Ini() const { return ReadFileBytes(IniPath); }
};

TEST_F(AddressBookWindow, AUserKeepsTheBookByHandAndThroughCsvFiles) {
  // Two entries by hand.
  Command(IDM_MenuAddrListAdd);
  ASSERT_EQ(window_->CurrentTab(), MainPage::AddressAdd);
  for (auto [name, mail] :
       {std::pair{L"山田太郎", L"yamada@example.jp"}, std::pair{L"佐藤花子", L"sato@example.jp"}}) {
    SetText(Ctl(IDC_Edit_add_name), name);
    SetText(Ctl(IDC_Edit_add_mailadr), mail);
    Exec({Answer{IDOK}}, {"メールアドレスを追加しました"});
  }
  // A name beyond code page 932 is refused by its character and stays typed.
  SetText(Ctl(IDC_Edit_add_name), L"𠮷田");
  SetText(Ctl(IDC_Edit_add_mailadr), L"yoshida@example.jp");
  Exec({Answer{IDOK}}, {"名前の「𠮷」はアドレス帳に保存できません。"});
  EXPECT_EQ(TextOf(Ctl(IDC_Edit_add_name)), L"𠮷田");

  // The first becomes the recipient.
  Command(IDM_MenuSetTo);
  ASSERT_EQ(window_->CurrentTab(), MainPage::Dst);
  ASSERT_EQ(SendMessageW(Ctl(IDC_Main_ComboBox_dst_list), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(TextOf(Ctl(IDC_Main_ComboBox_dst_list)), L"リストから選択してください");
  Choose(IDC_Main_ComboBox_dst_list, 1);
  Exec({Answer{IDOK}}, {"送信先を設定しました"});
  EXPECT_EQ(SysInfo.DstMailAdr, "yamada@example.jp");

  // Edited: the recipient follows.
  Command(IDM_MenuAddrListEdit);
  Choose(IDC_ComboBox_upd_maillist, 1);
  EXPECT_EQ(TextOf(Ctl(IDC_Edit_upd_name)), L"山田太郎");
  SetText(Ctl(IDC_Edit_upd_name), L"山田次郎");
  SetText(Ctl(IDC_Edit_upd_mailadr), L"jiro@example.jp");
  Exec({Answer{IDOK}}, {"メールアドレスを更新しました"});
  EXPECT_EQ(SysInfo.DstMailAdr, "jiro@example.jp");
  EXPECT_EQ(SysInfo.DstName, "山田次郎");

  // The other one deleted, after its question.
  Command(IDM_MenuAddrListDel);
  Choose(IDC_ComboBox_del_maillist, 2);
  EXPECT_EQ(TextOf(Ctl(IDC_ComboBox_del_maillist)), L"佐藤花子(sato@example.jp)");
  Exec({Answer{IDOK}, Answer{IDOK}},
       {"削除します、よろしいですか？", "メールアドレスを削除しました"});

  std::string ini = Ini();
  EXPECT_NE(ini.find("MAIL1=jiro@example.jp\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("NAME1=" + Cp932(L"山田次郎") + "\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("MAIL2=\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("DST_NAME=" + Cp932(L"山田次郎") + "\r\n"), std::string::npos) << ini;

  // A CSV file of Japanese names, imported from the menu through the open dialog; the
  // deleted slot 2 is free again and takes the first of them.
  std::string folder = MakeTempDir("tavisnap-csv") + "アドレス";
  CreateDirectoryW(Widen(folder).c_str(), nullptr);
  std::string csv = folder + "\\友人.csv";
  WriteFileBytes(csv, Cp932(L"高橋一郎,takahashi@example.jp\r\n\"伊藤 恵\",ito@example.jp\r\n"));
  {
    User user({Answer{IDOK}, ChooseFile{csv}, Answer{IDOK}});
    Command(IDM_CSVL1);
    Pump(300ms);
    EXPECT_EQ(
        user.Texts(),
        (std::vector<std::string>{
            "CSVファイル（カンマ区切り形式）よりアドレス帳へ一括登録します\r\nよろしいですか？",
            "<file>", "メールアドレスを一括登録しました"}));
  }
  ini = Ini();
  EXPECT_NE(ini.find("NAME2=" + Cp932(L"高橋一郎") + "\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("NAME3=" + Cp932(L"伊藤 恵") + "\r\n"), std::string::npos) << ini;

  // Exported through the save dialog: name "," address, CR LF, code page 932.
  std::string out = folder + "\\書き出し.csv";
  {
    User user({ChooseFile{out}, Answer{IDOK}});
    Command(IDM_CSVE1);
    Pump(300ms);
    EXPECT_EQ(user.Texts(), (std::vector<std::string>{"<file>", "エクスポートが完了しました"}));
  }
  EXPECT_EQ(ReadFileBytes(out),
            Cp932(L"山田次郎,jiro@example.jp\r\n高橋一郎,takahashi@example.jp\r\n"
                  L"伊藤 恵,ito@example.jp\r\n"));
  SaveScreenshot("addressbook-after-export", Main());
}

}  // namespace
}  // namespace tavisnap::testing
