// CSV export (exportClick): every used slot, in slot order, as name "," address CR LF in
// code page 932, appended to the chosen file (created when missing, never emptied). The
// book in memory is written; system.ini is not read again. The window side calls it from
// both menu entries.
#pragma once

#include <string>

#include "addressbook/csv_window.h"
#include "core/prompter.h"
#include "core/settings_list.h"

namespace tavisnap {

// The file's new lines for the book.
std::string CsvExportText(const SettingsList& settings);

// True when the file was written.
bool ExportClick(const SettingsList& settings, Prompter& prompter, const ChooseFile& chooseFile,
                 Hourglass& hourglass);

}  // namespace tavisnap
