// The account window's own texts and what it needs beside the command catalogue.
#pragma once

#include <functional>
#include <string>

#include "service/form_data.h"
#include "service/http_transaction.h"

namespace tavisnap {

// PostForm's shape, so that tests can put something else on the wire.
using FormPoster = std::function<HttpResult(const std::string& url, const TTypFormDataArray& form)>;

inline constexpr const char* kCheckMailAddress = "メールアドレスを確認してください";
inline constexpr const char* kCheckPassword = "パスワードを確認してください";
inline constexpr const char* kConfirmRegist = "新規登録します、よろしいですか？";
inline constexpr const char* kConfirmExit = "終了します、よろしいですか？";

// The account's basic-authentication flag in a sign-in answer: its third character "1".
inline bool LoginAnswerBasicAuth(const std::string& answer) {
  return answer.size() >= 3 && answer[2] == '1';
}

}  // namespace tavisnap
