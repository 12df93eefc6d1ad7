// system.ini on disk (code page 932) and the settings list.
#pragma once

#include <string>

#include "core/settings_list.h"

namespace tavisnap {

inline constexpr const char* kIniWriteError = "書き込みエラー(INIファイル)";
inline constexpr const char* kIniReadError = "読み込みエラー(INIファイル)";

// Merges the file into the list: every "key=value" of every section sets the entry
// "SECTION.KEY" to the value of the section's first line with that key (an empty value
// removes the entry); entries the file does not mention stay. Returns false when there
// is no file at path; throws AppError(kIniReadError) when it exists but cannot be read.
bool ReadSettingsFile(const std::string& path, SettingsList& list);

// Merges the list into the file at path (an absent file counts as empty) and replaces
// the file atomically: a crash or a failed write leaves the old file or the new one,
// whole. Each entry's name splits at its first "." into section and key (the key may
// hold further dots); values lose leading and trailing blanks and control characters,
// so " " writes an empty value, and a line break inside a value becomes a blank (it
// would otherwise start a line of its own in the file). Processing stops at the first
// entry whose name is shorter than 3 characters or has no "." after its first
// character; the entries before it are still written. An entry the file could not
// read back as itself (a line break in its section or key, "=" in its key, a key
// starting with ";" or "[") is skipped, with a debug line. Lines the merge leaves as
// they were keep their bytes and their places (see IniFile). A read-only file counts as
// unwritable, and so does a merge that would write a line the file does not read back as
// what was set (a key or section with a character the code page writes as another).
// Returns true; any failure throws AppError(kIniWriteError) and leaves the file as it
// was.
bool SaveSettings(const std::string& path, const SettingsList& list);

}  // namespace tavisnap
