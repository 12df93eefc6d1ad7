// CSV import (CsvLumpClick): after a question and the open dialog, the file's lines are
// checked as a whole (the count against the free slots, then each line's name, address
// and duplicates in file order) before any entry is added; then every accepted pair goes
// through AddAddress, which refuses the addresses already in the book with its own
// warning. A save that fails ends the import with its warning; the entries added before
// it stay. The window side calls it from both menu entries.
#pragma once

#include "addressbook/address_book.h"
#include "addressbook/csv_window.h"
#include "core/prompter.h"

namespace tavisnap {

// True when all the file's entries were handed to the book (some may have been refused).
bool CsvLumpClick(AddressBook& book, Prompter& prompter, const ChooseFile& chooseFile,
                  Hourglass& hourglass);

}  // namespace tavisnap
