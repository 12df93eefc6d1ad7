#include "addressbook/csv_export.h"

#include <fstream>
#include <optional>
#include <string>

#include "addressbook/address_book.h"
#include "addressbook/address_texts.h"
#include "addressbook/csv_lines.h"
#include "core/codepage.h"
#include "core/file_util.h"

namespace tavisnap {
namespace {

// Appends at the end of an existing file; false on any failure (the file may then hold
// part of the text).
bool AppendToFile(const std::string& path, const std::string& bytes) {
  try {
    std::ofstream out(U8Path(path), std::ios::binary | std::ios::app);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

std::string CsvExportText(const SettingsList& settings) {
  std::string text;
  for (int n = 1; n <= kAddressSlots; ++n) {
    std::string mailAdr = settings.Get(MailKey(n));
    if (!mailAdr.empty()) text += settings.Get(NameKey(n)) + "," + mailAdr + "\r\n";
  }
  return Utf8ToCp932(text);
}

bool ExportClick(const SettingsList& settings, Prompter& prompter, const ChooseFile& chooseFile,
                 Hourglass& hourglass) {
  HourglassScope busy(hourglass);
  std::optional<std::string> path = chooseFile();
  if (!path) return false;
  if (!HasCsvExtension(*path)) {
    busy.Restore();
    prompter.Warning(kChooseCsvFile);
    return false;
  }
  bool written = AppendToFile(*path, CsvExportText(settings));
  busy.Restore();
  // The user hears of a failed write; silence would leave him waiting for the report.
  if (!written) {
    prompter.Warning(kFileUnwritable);
    return false;
  }
  prompter.Information(kExportDone);
  return true;
}

}  // namespace tavisnap
