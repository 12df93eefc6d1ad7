#include "addressbook/csv_import.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "addressbook/address_texts.h"
#include "addressbook/csv_fields.h"
#include "addressbook/csv_lines.h"
#include "core/ascii_text.h"
#include "core/file_util.h"
#include "core/validation.h"

namespace tavisnap {
namespace {

struct Entry {
  std::string mailAdr;
  std::string name;
};

// The message of the file's place, or nothing when it is a file to read. A folder is no
// file, as for the system's own existence check.
std::optional<const char*> FileProblem(const std::string& path) {
  std::error_code ec;
  std::filesystem::file_status status = std::filesystem::status(U8Path(path), ec);
  if (status.type() == std::filesystem::file_type::regular) return std::nullopt;
  if (ec && status.type() != std::filesystem::file_type::not_found) return kFileUnreadable;
  return kFileNotFound;
}

// The accepted pairs in file order, or the message of the first line that fails.
const char* CheckLines(const std::vector<std::string>& lines, std::vector<Entry>& accepted) {
  std::unordered_set<std::string> seen;  // addresses folded to lower case
  for (const std::string& line : lines) {
    std::vector<std::string> fields = ReadCsvFields(line);
    fields.resize(std::max<size_t>(fields.size(), 2));
    if (fields[0].empty()) return kImportBadName;
    if (!IsValidMailAddress(fields[1])) return kImportBadAddress;
    if (!seen.insert(FoldAscii(fields[1])).second) return kImportDuplicate;
    accepted.push_back({std::move(fields[1]), std::move(fields[0])});
  }
  return nullptr;
}

}  // namespace

bool CsvLumpClick(AddressBook& book, Prompter& prompter, const ChooseFile& chooseFile,
                  Hourglass& hourglass) {
  if (!prompter.Confirm(kImportQuestion)) return false;
  std::optional<std::string> path = chooseFile();
  if (!path) return false;
  if (!HasCsvExtension(*path)) {
    prompter.Warning(kChooseCsvFile);
    return false;
  }
  if (std::optional<const char*> problem = FileProblem(*path)) {
    prompter.Warning(*problem);
    return false;
  }
  int freeSlots = kAddressSlots - CountUsedSlots(book.settings());

  HourglassScope busy(hourglass);
  CsvLines read = ReadCsvLines(*path, static_cast<size_t>(std::max(freeSlots, 0)));
  if (read.status != CsvLines::Status::Ok) {
    busy.Restore();
    prompter.Warning(read.status == CsvLines::Status::TooMany ? kImportTooMany : kFileUnreadable);
    return false;
  }
  std::vector<Entry> accepted;
  if (const char* refusal = CheckLines(read.lines, accepted)) {
    busy.Restore();
    prompter.Warning(refusal);
    return false;
  }
  read.lines.clear();
  for (const Entry& entry : accepted) {
    // The entries before it are in the file; the warning has said why the rest are not.
    if (book.AddAddress(entry.mailAdr, entry.name, false) == AddResult::NotSaved) return false;
  }
  busy.Restore();
  prompter.Information(kImportDone);
  return true;
}

}  // namespace tavisnap
