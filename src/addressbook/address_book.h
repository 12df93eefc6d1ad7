// The address book: up to 300 recipients in the MAILLIST section of the settings, slot n
// holding MAIL<n> (the address) and NAME<n> (the name).
#pragma once

#include "core/settings_list.h"

namespace tavisnap {

inline constexpr int kAddressSlots = 300;

// True when no slot MAILLIST.MAIL1..MAIL300 holds an address. A deleted slot holds a
// single blank until system.ini is read again; it counts as empty here.
bool AddressBookIsEmpty(const SettingsList& settings);

}  // namespace tavisnap
