#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/app_error.h"
#include "core/password_store.h"

namespace tavisnap {
namespace {

constexpr wchar_t kKey[] = L"Software\\tavisV01\\2010";

class PasswordStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\tavisV01"); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\tavisV01"); }
};

TEST_F(PasswordStoreTest, AUserWithoutTheKeyOrValueHasNoPassword) {
  EXPECT_EQ(LoadPasswordData(), "");
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(LoadPasswordData(), "");  // the key alone
}

TEST_F(PasswordStoreTest, SavedTextIsAStringValueUnderTheKnownKeyAndReadsBack) {
  SavePasswordData(EncodePasswordText("pass!#w0rd"));
  wchar_t data[64] = {};
  DWORD type = 0, size = sizeof data;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kKey, L"pdata", RRF_RT_ANY, &type, data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(data, L"cGFzcyEjdzByZA==");
  EXPECT_EQ(DecodePasswordText(LoadPasswordData()), "pass!#w0rd");
  // The next save replaces it.
  SavePasswordData(EncodePasswordText("x"));
  EXPECT_EQ(LoadPasswordData(), "eA==");
}

TEST_F(PasswordStoreTest, DamagedTextDecodesFromItsCodePage932Bytes) {
  SavePasswordData("あYWJj");
  EXPECT_EQ(DecodePasswordBytes(LoadPasswordData()), std::string("\xFF\xF6\x16\x26"));
}

TEST_F(PasswordStoreTest, AValueOfAnotherTypeIsAnError) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  DWORD number = 42;
  RegSetValueExW(key, L"pdata", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                 sizeof number);
  RegCloseKey(key);
  EXPECT_THROW(LoadPasswordData(), AppError);
  // Saving over it makes it a string again.
  SavePasswordData("YWJj");
  EXPECT_EQ(LoadPasswordData(), "YWJj");
}

}  // namespace
}  // namespace tavisnap
