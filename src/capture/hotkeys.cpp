#include "capture/hotkeys.h"

#include <cstdio>
#include <optional>

#include "core/codepage.h"
#include "core/define.h"
#include "core/settings_change.h"
#include "core/settings_list.h"

namespace tavisnap {
namespace {

constexpr const char* kHotKeySetting = "SYSTEM.HOTKEY";
constexpr const char* kMayBeTaken = "他のプログラムが同じキーを使っている可能性があります。";

uint32_t FirstCharacterCode(std::string_view code) {
  if (code.empty()) return 0;
  auto lead = static_cast<unsigned char>(code.front());
  if (lead < 0x80) return lead;
  // The first character, wherever its UTF-8 form ends; a byte that is no UTF-8 counts
  // as itself.
  for (size_t length = 2; length <= 4 && length <= code.size(); ++length) {
    std::u32string decoded;
    if (DecodeUtf8(code.substr(0, length), decoded) && decoded.size() == 1) return decoded[0];
  }
  return lead;
}

std::string KeyName(uint32_t vk) {
  if (vk == kVkSnapshot) return "PrintScreen";
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, char(vk));
  if (vk >= 0x70 && vk <= 0x87) return std::string("F").append(std::to_string(vk - 0x6F));
  char text[32];
  std::snprintf(text, sizeof text, "仮想キー0x%02X", static_cast<unsigned>(vk));
  return text;
}

// 「Ctrl+Alt+O」「Ctrl+Alt+Shift+O」
std::string Quoted(const std::vector<HotKeyBinding>& bindings) {
  std::string text;
  for (const HotKeyBinding& b : bindings) text += "「" + HotKeyName(b) + "」";
  return text;
}

}  // namespace

HotKeyPair HotKeyPairFor(std::string_view code) {
  if (code == "PS") {
    return {{{kHotKeyDesktopId, kModControl, kVkSnapshot},
             {kHotKeyWindowId, kModControl | kModShift, kVkSnapshot}}};
  }
  uint32_t vk = FirstCharacterCode(code);
  return {{{kHotKeyDesktopId, kModControl | kModAlt, vk},
           {kHotKeyWindowId, kModControl | kModAlt | kModShift, vk}}};
}

std::string HotKeyName(const HotKeyBinding& binding) {
  std::string name;
  if (binding.modifiers & kModControl) name += "Ctrl+";
  if (binding.modifiers & kModAlt) name += "Alt+";
  if (binding.modifiers & kModShift) name += "Shift+";
  return name + KeyName(binding.vk);
}

const std::array<HotKeyMenuChoice, kHotKeyMenuChoiceCount>& HotKeyMenuChoices() {
  static const std::array<HotKeyMenuChoice, kHotKeyMenuChoiceCount> choices{{
      {"PS", "Ctl+PrintScreen(&K)", "Ctl+PrintScreen（設定中）(&K)"},
      {"P", "Ctl+Alt+P(&P)", "Ctl+Alt+P（設定中）(&P)"},
      {"O", "Ctl+Alt+O(&O)", "Ctl+Alt+O（設定中）(&O)"},
      {"S", "Ctl+Alt+S(&S)", "Ctl+Alt+S（設定中）(&S)"},
      {"C", "Ctl+Alt+C(&C)", "Ctl+Alt+C（設定中）(&C)"},
  }};
  return choices;
}

const std::array<HotKeyMenuEntry, 2 * kHotKeyMenuChoiceCount>& HotKeyMenuEntries() {
  static const std::array<HotKeyMenuEntry, 2 * kHotKeyMenuChoiceCount> entries{{
      {"MenuSetHotKey_PS", 0, false},
      {"MenuSetHotKey_P", 1, false},
      {"MenuSetHotKey_O", 2, false},
      {"MenuSetHotKey_S", 3, false},
      {"MenuSetHotKey_C", 4, false},
      {"PMenuTraySetHotKey_PS", 0, true},
      {"PMenuTraySetHotKey_P", 1, true},
      {"PMenuTraySetHotKey_O", 2, true},
      {"PMenuTraySetHotKey_S", 3, true},
      {"PMenuTraySetHotKey_C", 4, true},
  }};
  return entries;
}

HotKeys::HotKeys(HotKeyRegistrar& registrar, HotKeyMenu& menu, Prompter& prompter)
    : registrar_(registrar), menu_(menu), prompter_(prompter) {}

std::vector<HotKeyBinding> HotKeys::RegisterPair(std::string_view code) {
  std::vector<HotKeyBinding> failed;
  for (const HotKeyBinding& b : HotKeyPairFor(code)) {
    if (!registrar_.Register(b.id, b.modifiers, b.vk)) failed.push_back(b);
  }
  return failed;
}

void HotKeys::UnregisterPair() {
  registrar_.Unregister(kHotKeyDesktopId);
  registrar_.Unregister(kHotKeyWindowId);
}

void HotKeys::SetCurrentCaptions(std::string_view code) {
  for (const HotKeyMenuEntry& entry : HotKeyMenuEntries()) {
    const HotKeyMenuChoice& choice = HotKeyMenuChoices()[static_cast<size_t>(entry.choice)];
    if (code == choice.code) menu_.SetCaption(entry, choice.currentCaption);
  }
}

void HotKeys::Start() {
  std::vector<HotKeyBinding> failed = RegisterPair(SysInfo.HotKey);
  if (!failed.empty()) {
    prompter_.Warning("送信キー" + Quoted(failed) + "を登録できませんでした。" + kMayBeTaken +
                      "「送信キー設定」で別のキーを選んでください。");
  }
  MarkCurrentChoice();
}

void HotKeys::MarkCurrentChoice() {
  SetCurrentCaptions(SysInfo.HotKey);
}

bool HotKeys::Change(int choice) {
  if (choice < 0 || choice >= kHotKeyMenuChoiceCount) return false;
  const std::string code = HotKeyMenuChoices()[static_cast<size_t>(choice)].code;
  const std::string old = SysInfo.HotKey;
  if (code == old) return false;
  if (!prompter_.Confirm(kConfirmHotKeyChange)) return false;

  // Going back to the old pair when the change cannot be completed; a program that took
  // one of its combinations meanwhile is named too.
  auto restore = [&](std::string why) {
    UnregisterPair();
    std::vector<HotKeyBinding> lost = RegisterPair(old);
    if (!lost.empty()) why += "変更前の" + Quoted(lost) + "も登録できませんでした。";
    prompter_.Warning("送信キーを変更できませんでした" + why);
  };

  UnregisterPair();
  std::vector<HotKeyBinding> failed = RegisterPair(code);
  if (!failed.empty()) {
    restore("。" + Quoted(failed) + "を登録できません。" + kMayBeTaken +
            "送信キーは変更前のままです。");
    return false;
  }
  SettingsChange change(Settings);
  change.Set(kHotKeySetting, code);
  if (std::optional<std::string> error = change.TrySave(IniPath)) {
    restore("（" + *error + "）。送信キーは変更前のままです。");
    return false;
  }
  for (const HotKeyMenuEntry& entry : HotKeyMenuEntries()) {
    menu_.SetCaption(entry, HotKeyMenuChoices()[static_cast<size_t>(entry.choice)].plainCaption);
  }
  SetCurrentCaptions(code);
  SysInfo.HotKey = code;
  prompter_.Information(kHotKeyChanged);
  return true;
}

void HotKeys::Stop() {
  UnregisterPair();
}

}  // namespace tavisnap
