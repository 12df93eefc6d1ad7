#include "service/post_form.h"

namespace tavisnap {

HttpResult PostForm(const std::string& url, const TTypFormDataArray& form) {
  HttpTransaction transaction(url, form);
  HttpResult result = transaction.Run();
  transaction.PublishCookie(result);
  return result;
}

}  // namespace tavisnap
