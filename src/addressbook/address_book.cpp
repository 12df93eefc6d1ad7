#include "addressbook/address_book.h"

#include <string>

namespace tavisnap {

bool AddressBookIsEmpty(const SettingsList& settings) {
  for (int n = 1; n <= kAddressSlots; ++n) {
    std::string value = settings.Get("MAILLIST.MAIL" + std::to_string(n));
    if (value.find_first_not_of(" \t") != std::string::npos) return false;
  }
  return true;
}

}  // namespace tavisnap
