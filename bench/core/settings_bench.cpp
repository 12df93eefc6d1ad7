// settings_bench [saves] [folder]
//
// Builds a system.ini with the SYSTEM keys and a full address book of 300 Japanese
// entries, then times `saves` calls of SaveSettings (each after changing one setting,
// as the program does) against as many bare copies of the same file (read it whole,
// write it whole to another file), once with fsync, as SaveSettings does, and once
// without. Prints the time per save, per copy and the ratios.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/codepage.h"
#include "core/file_util.h"
#include "core/ini_file.h"
#include "core/settings_file.h"
#include "core/settings_list.h"

namespace tavisnap {
namespace {

using Clock = std::chrono::steady_clock;

double MicrosPer(Clock::duration total, int count) {
  return std::chrono::duration<double, std::micro>(total).count() / count;
}

SettingsList FullSettings() {
  SettingsList list;
  const char* system[][2] = {
      {"MAILID", "taro.tavi@example.jp"}, {"AUTOLOGIN", "1"}, {"LOGO", "1"}, {"VOICE", "2"},
      {"HOTKEY", "PS"}, {"BASIC_AUTH", "2"}, {"HOME_URL", "https://www.tavisnap.jp"},
      {"DST_NAME", "山田花子"}, {"DST_MAILADR", "hanako@example.jp"},
      {"UPDATE_URL", "https://www.tavisnap.jp/update/"}, {"CAPFILEDEL", "2"},
      {"SERVICE_URL", "https://www.tavisnap.jp/"}};
  for (const auto& kv : system) list.Set(std::string("SYSTEM.") + kv[0], kv[1]);
  for (int n = 1; n <= 300; ++n) {
    std::string slot = std::to_string(n);
    list.Set("MAILLIST.MAIL" + slot, "helper" + slot + "@example.ne.jp");
    list.Set("MAILLIST.NAME" + slot, "支援者　田中" + slot + "号（ヘルパー）");
  }
  return list;
}

// Writes a fresh file each time: truncating one that was just written makes ext4 flush
// it at close (its guard for programs that rewrite files in place), which would turn the
// copy without fsync into one with it.
void Copy(const std::string& from, const std::string& to, bool sync) {
  std::string bytes = ReadWholeFile(from).value();
  ::unlink(to.c_str());
  int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
      (sync && ::fsync(fd) != 0) || ::close(fd) != 0) {
    std::perror("copy");
    std::exit(1);
  }
}

template <typename F>
Clock::duration Time(int count, F&& step) {
  auto start = Clock::now();
  for (int i = 0; i < count; ++i) step(i);
  return Clock::now() - start;
}

int Run(int saves, const std::filesystem::path& folder) {
  std::string ini = PathToUtf8(folder / "system.ini");
  std::string copy = PathToUtf8(folder / "system-copy.ini");
  SettingsList list = FullSettings();
  SaveSettings(ini, list);
  size_t size = ReadWholeFile(ini)->size();

  auto save = Time(saves, [&](int i) {
    list.Set("SYSTEM.DST_NAME", "山田花子" + std::to_string(i % 10));
    SaveSettings(ini, list);
  });
  // The part of a save that never touches the disk: decode, parse, merge, lay out, encode.
  std::string bytes = *ReadWholeFile(ini);
  auto inMemory = Time(saves, [&](int i) {
    IniFile file = IniFile::Parse(Cp932ToUtf8(bytes));
    for (const auto& e : list) {
      size_t dot = e.name.find('.');
      file.Set(e.name.substr(0, dot), e.name.substr(dot + 1), e.value);
    }
    if (Utf8ToCp932(file.Write()).size() != bytes.size()) std::exit(2);
  });
  auto copySync = Time(saves, [&](int) { Copy(ini, copy, true); });
  auto copyNoSync = Time(saves, [&](int) { Copy(ini, copy, false); });

  double perSave = MicrosPer(save, saves);
  double perMemory = MicrosPer(inMemory, saves);
  double perSync = MicrosPer(copySync, saves);
  double perNoSync = MicrosPer(copyNoSync, saves);
  std::printf("system.ini: %zu bytes, %zu entries, %d saves in %s\n", size, list.size(), saves,
              PathToUtf8(folder).c_str());
  std::printf("SaveSettings (atomic, fsync)      %9.1f us per save\n", perSave);
  std::printf("  of which decode/parse/merge/encode %7.1f us\n", perMemory);
  std::printf("bare copy, read + write + fsync   %9.1f us per copy\n", perSync);
  std::printf("bare copy, read + write, no fsync %9.1f us per copy\n", perNoSync);
  std::printf("ratio save / copy with fsync      %9.2f\n", perSave / perSync);
  std::printf("ratio save / copy without fsync   %9.2f\n", perSave / perNoSync);
  std::filesystem::remove(U8Path(copy));
  std::filesystem::remove(U8Path(ini));
  return 0;
}

}  // namespace
}  // namespace tavisnap

int main(int argc, char** argv) {
  int saves = argc > 1 ? std::atoi(argv[1]) : 200;
  std::filesystem::path folder =
      argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
  if (saves <= 0) {
    std::fprintf(stderr, "usage: settings_bench [saves>0] [folder]\n");
    return 1;
  }
  return tavisnap::Run(saves, folder);
}
