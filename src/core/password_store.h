// The saved password: Base64 text in the current user's registry, value "pdata" of
// HKEY_CURRENT_USER\Software\tavisV01\2010. What is encoded are the password's code
// page 932 bytes (passwords are ASCII in practice, so this is the same as UTF-8).
#pragma once

#include <string>
#include <string_view>

namespace tavisnap {

// Base64 of the UTF-8 password's code page 932 bytes, and back to UTF-8.
std::string EncodePasswordText(std::string_view password);
std::string DecodePasswordText(std::string_view stored);
// The bytes the stored text decodes to: the decoder runs over the code page 932 bytes
// of the text, so that damaged text decodes as it always did (each byte of a double-byte
// character counts as one character outside the alphabet).
std::string DecodePasswordBytes(std::string_view stored);

// Windows only. Writes the value, creating the key when needed; throws AppError when the
// key cannot be created or the value not written.
void SavePasswordData(const std::string& encoded);
// The stored text, "" when the key or the value is missing; throws AppError when the
// value is not a string or the key cannot be read.
std::string LoadPasswordData();

inline constexpr const char* kRegistryWriteError = "書き込みエラー(レジストリ)";
inline constexpr const char* kRegistryReadError = "読み込みエラー(レジストリ)";

}  // namespace tavisnap
