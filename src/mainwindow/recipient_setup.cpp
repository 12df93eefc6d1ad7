#include "mainwindow/recipient_setup.h"

#include <string>

namespace tavisnap {

namespace {
constexpr int kAddressSlots = 300;
}

bool AddressBookIsEmpty(const SettingsList& settings) {
  for (int n = 1; n <= kAddressSlots; ++n) {
    std::string value = settings.Get("MAILLIST.MAIL" + std::to_string(n));
    if (value.find_first_not_of(" \t") != std::string::npos) return false;
  }
  return true;
}

MainPage RecipientSetupPage(bool addressBookEmpty) {
  return addressBookEmpty ? MainPage::DstSetting : MainPage::Dst;
}

}  // namespace tavisnap
