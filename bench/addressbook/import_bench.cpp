// addressbook_bench [rounds] [folder]
//
// Imports a CSV file of 300 Japanese entries into an empty address book (300 AddAddress
// calls, each saving system.ini) and times it against 300 plain SaveSettings calls of the
// final file. Also times the 300 saves of the growing book alone, the reading and
// splitting of the file, and the slot scans, so that the import's own share shows. Each
// figure is the best of `rounds`, the measurements taken in turn.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "addressbook/address_book.h"
#include "addressbook/csv_fields.h"
#include "addressbook/csv_import.h"
#include "addressbook/csv_lines.h"
#include "core/codepage.h"
#include "core/file_util.h"
#include "core/settings_file.h"

namespace tavisnap {
namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

class SilentPrompter : public Prompter {
 public:
  bool Show(BoxKind kind, const std::string&) override {
    warnings += kind == BoxKind::Warning;
    return true;
  }
  int warnings = 0;
};

class NoHourglass : public Hourglass {
 public:
  void Show() override {}
  void Restore() override {}
};

const char kSystem[] =
    "[SYSTEM]\r\nMAILID=taro.tavi@example.jp\r\nAUTOLOGIN=1\r\nLOGO=1\r\nVOICE=2\r\n"
    "HOTKEY=PS\r\nBASIC_AUTH=2\r\nHOME_URL=https://www.tavisnap.jp\r\nDST_NAME=\r\n"
    "DST_MAILADR=\r\nUPDATE_URL=https://www.tavisnap.jp/update/\r\nCAPFILEDEL=2\r\n"
    "SERVICE_URL=https://www.tavisnap.jp/\r\n\r\n[MAILLIST]\r\n";

std::string CsvText() {
  std::string text;
  for (int n = 1; n <= kAddressSlots; ++n) {
    std::string slot = std::to_string(n);
    text += "\"支援者　田中" + slot + "号（ヘルパー）\",helper" + slot + "@example.ne.jp\r\n";
  }
  return Utf8ToCp932(text);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  if (!AtomicWriteFile(path, bytes)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

int Run(int rounds, const std::filesystem::path& folder) {
  std::string ini = PathToUtf8(folder / "system.ini");
  std::string csv = PathToUtf8(folder / "book.csv");
  WriteFile(csv, CsvText());
  SettingsList settings;
  TTypSysInfo sysInfo;
  SilentPrompter prompter;
  NoHourglass hourglass;
  AddressBook book(settings, sysInfo, ini, prompter, [](const std::string&) { std::exit(3); });
  auto emptyBook = [&] {
    WriteFile(ini, Utf8ToCp932(kSystem));
    settings.Clear();
    ReadSettingsFile(ini, settings);
  };

  auto import = [&] {
    emptyBook();
    auto start = Clock::now();
    CsvLumpClick(
        book, prompter, [&] { return std::optional<std::string>(csv); }, hourglass);
    return Clock::now() - start;
  };
  auto reading = [&] {
    auto start = Clock::now();
    CsvLines lines = ReadCsvLines(csv, kAddressSlots);
    size_t fields = 0;
    for (const std::string& line : lines.lines) fields += ReadCsvFields(line).size();
    if (fields != 2 * kAddressSlots) std::exit(4);
    return Clock::now() - start;
  };
  import();
  if (CountUsedSlots(settings) != kAddressSlots || prompter.warnings != 0) {
    std::fprintf(stderr, "the import did not fill the book\n");
    return 2;
  }
  const SettingsList full = settings;
  size_t size = ReadWholeFile(ini)->size();
  auto finalSaves = [&] {
    auto start = Clock::now();
    for (int n = 1; n <= kAddressSlots; ++n) SaveSettings(ini, full);
    return Clock::now() - start;
  };
  auto growingSaves = [&] {
    emptyBook();
    auto start = Clock::now();
    for (int n = 1; n <= kAddressSlots; ++n) {
      settings.Set(MailKey(n), full.Get(MailKey(n)));
      settings.Set(NameKey(n), full.Get(NameKey(n)));
      SaveSettings(ini, settings);
    }
    return Clock::now() - start;
  };

  // AddAddress looks at every slot once per entry, as CountUsedSlots does.
  auto scans = [&] {
    auto start = Clock::now();
    int used = 0;
    for (int n = 1; n <= kAddressSlots; ++n) used += CountUsedSlots(full);
    if (used != kAddressSlots * kAddressSlots) std::exit(5);
    return Clock::now() - start;
  };

  // Interleaved, so that a slow spell of the disk does not fall on one of them only.
  Clock::duration best[5];
  std::fill(std::begin(best), std::end(best), Clock::duration::max());
  for (int r = 0; r < rounds; ++r) {
    best[0] = std::min(best[0], import());
    best[1] = std::min(best[1], finalSaves());
    best[2] = std::min(best[2], growingSaves());
    best[3] = std::min(best[3], reading());
    best[4] = std::min(best[4], scans());
  }
  double importMs = Millis(best[0]), finalMs = Millis(best[1]), growingMs = Millis(best[2]);

  std::printf("final system.ini: %zu bytes, %zu entries; best of %d rounds in %s\n", size,
              full.size(), rounds, PathToUtf8(folder).c_str());
  std::printf("import of 300 lines into an empty book   %9.1f ms\n", importMs);
  std::printf("300 SaveSettings of the final file       %9.1f ms\n", finalMs);
  std::printf("300 SaveSettings of the growing book     %9.1f ms\n", growingMs);
  std::printf("reading and splitting the CSV file       %9.2f ms\n", Millis(best[3]));
  std::printf("300 scans of the 300 slots                %9.2f ms\n", Millis(best[4]));
  std::printf("import beyond its own saves              %9.1f ms (noise of the disk included)\n",
              importMs - growingMs);
  std::printf("ratio import / final saves (goal <= 1.2) %9.2f\n", importMs / finalMs);
  std::filesystem::remove(U8Path(csv));
  std::filesystem::remove(U8Path(ini));
  return 0;
}

}  // namespace
}  // namespace tavisnap

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  std::filesystem::path folder =
      argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
  if (rounds <= 0) {
    std::fprintf(stderr, "usage: addressbook_bench [rounds>0] [folder]\n");
    return 1;
  }
  return tavisnap::Run(rounds, folder);
}
