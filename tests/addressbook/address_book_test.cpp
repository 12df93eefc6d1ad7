#include "addressbook/address_book.h"

#include <gtest/gtest.h>

namespace tavisnap {
namespace {

TEST(AddressBookIsEmpty, OnlyAnAddressInSlotsOneTo300Counts) {
  SettingsList settings;
  EXPECT_TRUE(AddressBookIsEmpty(settings));
  settings.Set("SYSTEM.DST_MAILADR", "a@example.jp");
  settings.Set("MAILLIST.NAME1", "山田");  // a name without an address is no entry
  settings.Set("MAILLIST.MAIL301", "out@example.jp");  // beyond the last slot
  settings.Set("MAILLIST.MAIL1", " ");  // deleted, not yet re-read from the file
  EXPECT_TRUE(AddressBookIsEmpty(settings));

  for (const char* key : {"MAILLIST.MAIL1", "maillist.mail7", "MAILLIST.MAIL300"}) {
    SettingsList used;
    used.Set(key, "b@example.jp");
    EXPECT_FALSE(AddressBookIsEmpty(used)) << key;
  }
}

}  // namespace
}  // namespace tavisnap
