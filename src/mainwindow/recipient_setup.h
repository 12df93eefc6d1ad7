// Where the main window sends the user when a capture has no recipient: the first-
// recipient page for an empty address book, the recipient choice otherwise.
#pragma once

#include "core/settings_list.h"
#include "mainwindow/main_pages.h"

namespace tavisnap {

// True when no slot MAILLIST.MAIL1..MAIL300 holds an address. A deleted slot holds a
// single blank until system.ini is read again; it counts as empty here.
bool AddressBookIsEmpty(const SettingsList& settings);

MainPage RecipientSetupPage(bool addressBookEmpty);

}  // namespace tavisnap
