#include "core/settings_file.h"

#include <filesystem>
#include <mutex>
#include <optional>

#include "core/app_error.h"
#include "core/ascii_text.h"
#include "core/debug_log.h"
#include "core/file_util.h"
#include "core/ini_file.h"

namespace tavisnap {
namespace fs = std::filesystem;
namespace {

// The file's bytes, nullopt when there is none; throws `error` when it cannot be read.
std::optional<std::string> ReadBytes(const std::string& path, const char* error) {
  std::error_code ec;
  fs::file_status status = fs::status(U8Path(path), ec);
  if (status.type() == fs::file_type::not_found) return std::nullopt;
  if (ec || status.type() != fs::file_type::regular) throw AppError(error);
  std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) throw AppError(error);
  return bytes;
}

// The file as this process last saved it, in parsed form. A save that finds exactly
// those bytes in the file (whichever file it is: the parsed form depends on the bytes
// alone) starts from it instead of parsing again, which is most of a save's work; any
// other content, written by anyone, is parsed as usual.
class LastSave {
 public:
  IniFile Take(const std::string& bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ini_ && ini_->text() == bytes) {
      IniFile ini = std::move(*ini_);
      ini_.reset();
      return ini;
    }
    return IniFile::Parse(bytes);
  }
  void Keep(IniFile ini) {
    std::lock_guard<std::mutex> lock(mutex_);
    ini_ = std::move(ini);
  }

 private:
  std::mutex mutex_;
  std::optional<IniFile> ini_;
};

LastSave& TheLastSave() {
  static LastSave last;
  return last;
}

// A file nobody may write (the read-only attribute on Windows) is refused here too, so
// that replacing it by rename does not get around the protection on POSIX systems.
bool IsReadOnlyFile(const std::string& path) {
  std::error_code ec;
  fs::file_status status = fs::status(U8Path(path), ec);
  if (ec || status.type() != fs::file_type::regular) return false;
  constexpr auto kAnyWrite =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return (status.permissions() & kAnyWrite) == fs::perms::none;
}

// Whether the UTF-8 text has at least n characters.
bool HasCharacters(std::string_view utf8, size_t n) {
  for (size_t i = 0; i < utf8.size() && n > 0; ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) --n;
  }
  return n == 0;
}

// Whether the entry name can be split into section and key at all: at least three
// characters and a "." after the first one. A "." is ASCII and never part of a longer
// UTF-8 sequence, so searching from the second byte is enough.
bool IsSplittableName(std::string_view name) {
  return HasCharacters(name, 3) && name.find('.', 1) != std::string_view::npos;
}

// A line break inside a value would end the line in the file and plant whatever follows
// as lines of their own (a section header, another key); it becomes a blank instead.
std::string OneLine(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

bool HasLineBreak(std::string_view text) {
  for (char c : text) {
    if (c == '\r' || c == '\n') return true;
  }
  return false;
}

// Whether section and key can be written so that the file reads them back as the same
// setting: a line break would plant lines of its own, "=" would end the key early, and
// a key starting with ";" or "[" would read as a comment or a section header.
bool IsWritableName(std::string_view section, std::string_view key) {
  return !HasLineBreak(section) && !HasLineBreak(key) && key.find('=') == std::string_view::npos &&
         (key.empty() || (key.front() != ';' && key.front() != '['));
}

}  // namespace

bool ReadSettingsFile(const std::string& path, SettingsList& list) {
  std::optional<std::string> bytes = ReadBytes(path, kIniReadError);
  if (!bytes) return false;
  IniFile ini = IniFile::Parse(*bytes);
  for (const IniFile::Section& section : ini.sections()) {
    for (const IniFile::Line& line : section.lines) {
      if (!line.isSetting) continue;
      std::string name;
      name.reserve(section.name.size() + 1 + line.key.size());
      name.append(section.name).append(1, '.').append(line.key);
      list.Set(name, *ini.Find(section.name, line.key));
    }
  }
  return true;
}

bool SaveSettings(const std::string& path, const SettingsList& list) {
  if (IsReadOnlyFile(path)) throw AppError(kIniWriteError);
  IniFile ini = TheLastSave().Take(ReadBytes(path, kIniWriteError).value_or(""));
  for (const SettingsList::Entry& entry : list) {
    if (!IsSplittableName(entry.name)) break;
    std::string_view name = entry.name;
    size_t dot = name.find('.');
    std::string_view section = TrimBlanks(name.substr(0, dot));
    std::string_view key = TrimBlanks(name.substr(dot + 1));
    if (!IsWritableName(section, key)) {
      // Such names come only from a program error; refusing the whole save would lose
      // every later change of the session as well.
      DebugLog("system.ini: 書けない名前を飛ばしました: " + OneLine(name));
      continue;
    }
    std::string_view value = TrimBlanks(entry.value);
    if (HasLineBreak(value)) {
      ini.Set(section, key, OneLine(value));
    } else {
      ini.Set(section, key, value);
    }
  }
  // A line that would read back as something else (a key the code page cannot write
  // as itself) would lose the setting, or plant another one, at the next read.
  if (!ini.Commit()) {
    DebugLog("system.ini: 読み戻せない行になるため保存しません");
    throw AppError(kIniWriteError);
  }
  if (!AtomicWriteFile(path, ini.text())) throw AppError(kIniWriteError);
  TheLastSave().Keep(std::move(ini));
  return true;
}

}  // namespace tavisnap
