// SaveSettings under failures: a killed writer, a full disk, a read-only folder and a
// read-only file. Whatever happens, system.ini stays either the old file or a new one,
// whole, and is never missing. POSIX only (fork, kill, setrlimit).
#include <signal.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/app_error.h"
#include "core/settings_file.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// A full address book, so that one save writes some tens of kilobytes.
SettingsList FullSettings(int version) {
  SettingsList list;
  list.Set("SYSTEM.MAILID", "user" + std::to_string(version) + "@example.jp");
  list.Set("SYSTEM.AUTOLOGIN", version % 2 ? "1" : "2");
  for (int n = 1; n <= 300; ++n) {
    std::string slot = std::to_string(n);
    list.Set("MAILLIST.MAIL" + slot, "friend" + slot + "v" + std::to_string(version) + "@b.jp");
    list.Set("MAILLIST.NAME" + slot,
             "送信先の名前" + slot + "番（版" + std::to_string(version) + "）");
  }
  return list;
}

// Runs fn in a child process and returns its exit code (-1 when it did not exit).
int InChild(const std::function<int()>& fn) {
  pid_t pid = fork();
  if (pid == 0) {
    int code = 99;
    try {
      code = fn();
    } catch (...) {
      code = 98;
    }
    _exit(code);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int SaveExpectingError(const std::string& path, const SettingsList& list) {
  try {
    SaveSettings(path, list);
    return 1;
  } catch (const AppError& e) {
    return std::string(e.what()) == "書き込みエラー(INIファイル)" ? 0 : 2;
  }
}

size_t CountFiles(const fs::path& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
  return n;
}

TEST(SettingsSaveFaults, AWriterKilledAtRandomMomentsNeverLeavesABrokenFile) {
  TempDir dir;
  const std::string path = dir / "system.ini";
  constexpr int kVersions = 4;
  std::vector<SettingsList> versions;
  for (int v = 0; v < kVersions; ++v) versions.push_back(FullSettings(v));

  // The exact bytes each version gives when saved over any other.
  std::set<std::string> whole;
  auto started = std::chrono::steady_clock::now();
  for (int v = 0; v < kVersions; ++v) {
    SaveSettings(path, versions[(v + 1) % kVersions]);
    SaveSettings(path, versions[v]);
    whole.insert(ReadBytes(path));
  }
  auto perSave = (std::chrono::steady_clock::now() - started) / (2 * kVersions);
  ASSERT_EQ(whole.size(), static_cast<size_t>(kVersions));
  ASSERT_GT(whole.begin()->size(), 15000u);

  std::mt19937 random(12345);
  auto window = std::chrono::duration_cast<std::chrono::microseconds>(perSave * 4) +
                std::chrono::microseconds(500);
  std::uniform_int_distribution<long> delay(0, window.count());
  constexpr int kKills = 200;
  for (int i = 0; i < kKills; ++i) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (unsigned n = 0;; ++n) {
        try {
          SaveSettings(path, versions[n % kVersions]);
        } catch (...) {
          _exit(3);
        }
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed before it was killed, kill " << i;
    std::string now = ReadBytes(path);
    ASSERT_TRUE(whole.count(now)) << "kill " << i << " left " << now.size() << " bytes";
  }
  // Interrupted writers leave their unfinished new files behind, never system.ini broken.
  std::cout << "save takes about "
            << std::chrono::duration_cast<std::chrono::microseconds>(perSave).count()
            << " us; files left in the folder after " << kKills
            << " kills: " << CountFiles(dir.path()) << "\n";
}

TEST(SettingsSaveFaults, AFullDiskFailsWithTheMessageAndKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir / "system.ini";
  SaveSettings(path, FullSettings(0));
  const std::string old = ReadBytes(path);
  // A file size limit makes write() fail with EFBIG part way, as a full disk would.
  int code = InChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    return SaveExpectingError(path, FullSettings(1));
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(CountFiles(dir.path()), 1u);  // the unfinished new file was removed
}

TEST(SettingsSaveFaults, AReadOnlyFolderFailsWithTheMessageAndKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir / "system.ini";
  SaveSettings(path, FullSettings(0));
  const std::string old = ReadBytes(path);
  fs::permissions(dir.path(),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  int code = InChild([&] {
    // root writes anywhere: test as an ordinary user.
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 97;
    return SaveExpectingError(path, FullSettings(1));
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ReadBytes(path), old);
}

TEST(SettingsSaveFaults, AReadOnlyFileIsNotReplaced) {
  TempDir dir;
  const std::string path = dir / "system.ini";
  WriteBytes(path, "[SYSTEM]\r\nMAILID=a@b.jp\r\n");
  fs::permissions(U8Path(path), fs::perms::owner_read | fs::perms::group_read);
  SettingsList list;
  list.Set("SYSTEM.MAILID", "other@b.jp");
  EXPECT_EQ(SaveExpectingError(path, list), 0);
  EXPECT_EQ(ReadBytes(path), "[SYSTEM]\r\nMAILID=a@b.jp\r\n");
}

}  // namespace
}  // namespace tavisnap
