#include "capture/hotkeys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

#include "core/define.h"
#include "core/settings_file.h"
#include "core/settings_list.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

using testing::ShownBox;

// Holds what is registered; combinations in `taken` belong to another program.
class FakeRegistrar : public HotKeyRegistrar {
 public:
  bool Register(int id, uint32_t modifiers, uint32_t vk) override {
    if (taken.count({modifiers, vk})) return false;
    registered[id] = {id, modifiers, vk};
    return true;
  }
  void Unregister(int id) override { registered.erase(id); }

  std::set<std::pair<uint32_t, uint32_t>> taken;
  std::map<int, HotKeyBinding> registered;
};

class FakeMenu : public HotKeyMenu {
 public:
  void SetCaption(const HotKeyMenuEntry& entry, const std::string& caption) override {
    captions[entry.name] = caption;
    ++calls;
  }
  std::map<std::string, std::string> captions;
  int calls = 0;
};

TEST(HotKeyPair, CombinationsOfEachSetting) {
  const struct {
    const char* code;
    HotKeyPair pair;
    const char* desktopName;
    const char* windowName;
  } cases[] = {
      {"PS", {{{1, 2, 0x2C}, {2, 6, 0x2C}}}, "Ctrl+PrintScreen", "Ctrl+Shift+PrintScreen"},
      {"P", {{{1, 3, 0x50}, {2, 7, 0x50}}}, "Ctrl+Alt+P", "Ctrl+Alt+Shift+P"},
      {"O", {{{1, 3, 0x4F}, {2, 7, 0x4F}}}, "Ctrl+Alt+O", "Ctrl+Alt+Shift+O"},
      {"S", {{{1, 3, 0x53}, {2, 7, 0x53}}}, "Ctrl+Alt+S", "Ctrl+Alt+Shift+S"},
      {"C", {{{1, 3, 0x43}, {2, 7, 0x43}}}, "Ctrl+Alt+C", "Ctrl+Alt+Shift+C"},
      // Written by hand: the first character's code, unchanged.
      {"Q", {{{1, 3, 0x51}, {2, 7, 0x51}}}, "Ctrl+Alt+Q", "Ctrl+Alt+Shift+Q"},
      {"p", {{{1, 3, 0x70}, {2, 7, 0x70}}}, "Ctrl+Alt+F1", "Ctrl+Alt+Shift+F1"},
      {"あ",
       {{{1, 3, 0x3042}, {2, 7, 0x3042}}},
       "Ctrl+Alt+仮想キー0x3042",
       "Ctrl+Alt+Shift+仮想キー0x3042"},
  };
  for (const auto& c : cases) {
    HotKeyPair pair = HotKeyPairFor(c.code);
    EXPECT_EQ(pair, c.pair) << c.code;
    EXPECT_EQ(HotKeyName(pair[0]), c.desktopName) << c.code;
    EXPECT_EQ(HotKeyName(pair[1]), c.windowName) << c.code;
  }
}

TEST(HotKeyMenuChoices, CaptionsInMenuOrderWithDistinctAccessKeys) {
  const struct {
    const char* code;
    const char* plain;
    const char* current;
  } expected[] = {
      {"PS", "Ctl+PrintScreen(&K)", "Ctl+PrintScreen（設定中）(&K)"},
      {"P", "Ctl+Alt+P(&P)", "Ctl+Alt+P（設定中）(&P)"},
      {"O", "Ctl+Alt+O(&O)", "Ctl+Alt+O（設定中）(&O)"},
      {"S", "Ctl+Alt+S(&S)", "Ctl+Alt+S（設定中）(&S)"},
      {"C", "Ctl+Alt+C(&C)", "Ctl+Alt+C（設定中）(&C)"},
  };
  std::set<std::string> keys;
  for (int i = 0; i < kHotKeyMenuChoiceCount; ++i) {
    const HotKeyMenuChoice& c = HotKeyMenuChoices()[static_cast<size_t>(i)];
    EXPECT_STREQ(c.code, expected[i].code);
    EXPECT_STREQ(c.plainCaption, expected[i].plain);
    EXPECT_STREQ(c.currentCaption, expected[i].current);
    std::string caption = c.plainCaption;
    keys.insert(caption.substr(caption.find('&')));
  }
  EXPECT_EQ(keys.size(), 5u) << "two hotkey entries share an access key";
}

class HotKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    IniPath = temp / "system.ini";
    Settings.Clear();
    Settings.Set("SYSTEM.HOTKEY", "PS");
    SaveSettings(IniPath, Settings);
    SysInfo = TTypSysInfo{};  // HotKey "PS"
  }
  void TearDown() override {
    Settings.Clear();
    SysInfo = TTypSysInfo{};
  }
  HotKeyPair Registered() const {
    return {registrar.registered.at(kHotKeyDesktopId), registrar.registered.at(kHotKeyWindowId)};
  }
  void Take(std::string_view code, int which) {
    HotKeyBinding b = HotKeyPairFor(code)[static_cast<size_t>(which)];
    registrar.taken.insert({b.modifiers, b.vk});
  }
  std::string StoredHotKey() const {
    SettingsList onDisk;
    ReadSettingsFile(IniPath, onDisk);
    return onDisk.Get("SYSTEM.HOTKEY");
  }

  testing::TempDir temp;
  FakeRegistrar registrar;
  FakeMenu menu;
  testing::FakePrompter prompter;
  HotKeys hotkeys{registrar, menu, prompter};
};

// ---- Start-up and exit ----

TEST_F(HotKeysTest, StartRegistersThePairAndMarksTheCurrentChoice) {
  SysInfo.HotKey = "O";
  hotkeys.Start();
  EXPECT_EQ(Registered(), HotKeyPairFor("O"));
  EXPECT_EQ(menu.captions, (std::map<std::string, std::string>{
                               {"MenuSetHotKey_O", "Ctl+Alt+O（設定中）(&O)"},
                               {"PMenuTraySetHotKey_O", "Ctl+Alt+O（設定中）(&O)"}}));
  hotkeys.Stop();
  EXPECT_TRUE(registrar.registered.empty());

  SysInfo.HotKey = "Q";  // written by hand: registered, but no entry is its own
  menu.captions.clear();
  hotkeys.Start();
  EXPECT_EQ(Registered(), HotKeyPairFor("Q"));
  EXPECT_TRUE(menu.captions.empty());
  EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(HotKeysTest, ACombinationAnotherProgramHoldsIsNamedAtStart) {
  Take("PS", 1);
  hotkeys.Start();
  EXPECT_EQ(prompter.boxes,
            (std::vector<ShownBox>{{BoxKind::Warning,
                                    "送信キー「Ctrl+Shift+PrintScreen」を登録できませんでした。"
                                    "他のプログラムが同じキーを使っている可能性があります。"
                                    "「送信キー設定」で別のキーを選んでください。"}}));
  EXPECT_EQ(registrar.registered.at(kHotKeyDesktopId), HotKeyPairFor("PS")[0])
      << "the other key of the pair still works";
}

// ---- Changing ----

TEST_F(HotKeysTest, TheCurrentChoiceOrCancelChangesNothing) {
  hotkeys.Start();
  EXPECT_FALSE(hotkeys.Change(0));  // "PS"
  EXPECT_TRUE(prompter.boxes.empty()) << "not even asked";

  prompter.answers = {false};
  EXPECT_FALSE(hotkeys.Change(4));  // "C"
  EXPECT_EQ(prompter.boxes.size(), 1u);
  EXPECT_EQ(Registered(), HotKeyPairFor("PS"));
  EXPECT_EQ(StoredHotKey(), "PS");
  EXPECT_FALSE(hotkeys.Change(kHotKeyMenuChoiceCount)) << "no such choice";
}

TEST_F(HotKeysTest, AChangeRegistersStoresRelabelsAndSaysSo) {
  hotkeys.Start();
  menu.captions.clear();
  ASSERT_TRUE(hotkeys.Change(2));  // "O"
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Confirmation, kConfirmHotKeyChange},
                                                   {BoxKind::Information, kHotKeyChanged}}));
  EXPECT_EQ(Registered(), HotKeyPairFor("O"));
  EXPECT_EQ(SysInfo.HotKey, "O");
  EXPECT_EQ(StoredHotKey(), "O");
  EXPECT_EQ(menu.captions.size(), 10u);
  EXPECT_EQ(menu.captions["MenuSetHotKey_PS"], "Ctl+PrintScreen(&K)");
  EXPECT_EQ(menu.captions["PMenuTraySetHotKey_PS"], "Ctl+PrintScreen(&K)");
  EXPECT_EQ(menu.captions["MenuSetHotKey_O"], "Ctl+Alt+O（設定中）(&O)");
  EXPECT_EQ(menu.captions["PMenuTraySetHotKey_O"], "Ctl+Alt+O（設定中）(&O)");
}

// Reported as a success before: the old keys were gone and the new ones did nothing.
TEST_F(HotKeysTest, AChangeToACombinationThatIsTakenKeepsTheOldPair) {
  hotkeys.Start();
  int captionCalls = menu.calls;
  Take("O", 1);
  EXPECT_FALSE(hotkeys.Change(2));
  EXPECT_EQ(prompter.boxes.back(),
            (ShownBox{BoxKind::Warning,
                      "送信キーを変更できませんでした。「Ctrl+Alt+Shift+O」を登録できません。"
                      "他のプログラムが同じキーを使っている可能性があります。"
                      "送信キーは変更前のままです。"}));
  EXPECT_EQ(Registered(), HotKeyPairFor("PS"));
  EXPECT_EQ(SysInfo.HotKey, "PS");
  EXPECT_EQ(StoredHotKey(), "PS");
  EXPECT_EQ(Settings.Get("SYSTEM.HOTKEY"), "PS");
  EXPECT_EQ(menu.calls, captionCalls) << "the captions stay";

  Take("S", 0);
  Take("PS", 0);  // taken meanwhile by another program
  hotkeys.Change(3);
  EXPECT_THAT(prompter.boxes.back().text,
              ::testing::HasSubstr("変更前の「Ctrl+PrintScreen」も登録できませんでした。"));
}

TEST_F(HotKeysTest, AChangeThatCannotBeStoredKeepsTheOldPairAndSetting) {
  hotkeys.Start();
  IniPath = temp / "gone/system.ini";
  EXPECT_FALSE(hotkeys.Change(1));
  EXPECT_EQ(prompter.boxes.back(),
            (ShownBox{BoxKind::Warning, std::string("送信キーを変更できませんでした（") +
                                            kIniWriteError + "）。送信キーは変更前のままです。"}));
  EXPECT_EQ(Registered(), HotKeyPairFor("PS"));
  EXPECT_EQ(SysInfo.HotKey, "PS");
  EXPECT_EQ(Settings.Get("SYSTEM.HOTKEY"), "PS") << "no stray code for the next save";
}

}  // namespace
}  // namespace tavisnap
