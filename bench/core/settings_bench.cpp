// settings_bench [saves] [folder]
//
// Builds a system.ini with the SYSTEM keys and a full address book of 300 Japanese
// entries, then times SaveSettings calls (each after changing one setting, as the
// program does), a save's work in memory from scratch and its atomic write alone, and
// bare copies of the same file (read it whole, write it whole to another file), with
// fsync, as SaveSettings does, and without. Prints the median and the mean time of each
// and the ratios.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/file_util.h"
#include "core/ini_file.h"
#include "core/settings_file.h"
#include "core/settings_list.h"

namespace tavisnap {
namespace {

using Clock = std::chrono::steady_clock;

SettingsList FullSettings() {
  SettingsList list;
  const char* system[][2] = {{"MAILID", "taro.tavi@example.jp"},
                             {"AUTOLOGIN", "1"},
                             {"LOGO", "1"},
                             {"VOICE", "2"},
                             {"HOTKEY", "PS"},
                             {"BASIC_AUTH", "2"},
                             {"HOME_URL", "https://www.tavisnap.jp"},
                             {"DST_NAME", "山田花子"},
                             {"DST_MAILADR", "hanako@example.jp"},
                             {"UPDATE_URL", "https://www.tavisnap.jp/update/"},
                             {"CAPFILEDEL", "2"},
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

// Times of one kind of operation, in microseconds.
class Times {
 public:
  template <typename F>
  void Measure(F&& step) {
    auto start = Clock::now();
    step();
    micros_.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  double Median() const {
    std::vector<double> sorted = micros_;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }
  double Mean() const {
    double sum = 0;
    for (double us : micros_) sum += us;
    return sum / static_cast<double>(micros_.size());
  }

 private:
  std::vector<double> micros_;
};

int Run(int saves, const std::filesystem::path& folder) {
  std::string ini = PathToUtf8(folder / "system.ini");
  std::string copy = PathToUtf8(folder / "system-copy.ini");
  SettingsList list = FullSettings();
  SaveSettings(ini, list);
  const std::string bytes = *ReadWholeFile(ini);

  // The three that flush take turns, so that a disk that changes its pace affects them
  // alike; the two that do not flush run afterwards, so that they leave no unflushed
  // data behind for the others.
  Times save, atomic, copySync, inMemory, copyNoSync;
  for (int i = 0; i < saves; ++i) {
    save.Measure([&] {
      list.Set("SYSTEM.DST_NAME", "山田花子" + std::to_string(i % 10));
      SaveSettings(ini, list);
    });
    // The disk part of a save alone: the atomic replacement, file and folder flushed.
    atomic.Measure([&] {
      if (!AtomicWriteFile(copy, bytes)) std::exit(3);
    });
    copySync.Measure([&] { Copy(ini, copy, true); });
  }
  for (int i = 0; i < saves; ++i) {
    // A save's work in memory when it cannot start from the form it last wrote.
    inMemory.Measure([&] {
      IniFile file = IniFile::Parse(bytes);
      for (const auto& e : list) {
        size_t dot = e.name.find('.');
        file.Set(e.name.substr(0, dot), e.name.substr(dot + 1), e.value);
      }
      if (file.Write().size() < bytes.size()) std::exit(2);  // the layout keeps every line
    });
  }
  for (int i = 0; i < saves; ++i) copyNoSync.Measure([&] { Copy(ini, copy, false); });

  std::printf("system.ini: %zu bytes, %zu entries, %d saves in %s\n", bytes.size(), list.size(),
              saves, PathToUtf8(folder).c_str());
  std::printf("%-42s %9s %9s\n", "microseconds per operation", "median", "mean");
  auto row = [](const char* what, const Times& t) {
    std::printf("%-42s %9.1f %9.1f\n", what, t.Median(), t.Mean());
  };
  row("SaveSettings (atomic, fsync)", save);
  row("  parse + merge + lay out from scratch", inMemory);
  row("  atomic write alone (file, folder fsync)", atomic);
  row("bare copy, read + write + fsync", copySync);
  row("bare copy, read + write, no fsync", copyNoSync);
  auto ratio = [](const char* what, const Times& a, const Times& b) {
    std::printf("%-42s %9.2f %9.2f\n", what, a.Median() / b.Median(), a.Mean() / b.Mean());
  };
  ratio("ratio save / copy with fsync", save, copySync);
  ratio("ratio save / copy without fsync", save, copyNoSync);
  ratio("ratio save / atomic write alone", save, atomic);
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
