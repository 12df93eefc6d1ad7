// The synchronous service request of the account operations.
#pragma once

#include <string>

#include "service/form_data.h"
#include "service/http_transaction.h"

namespace tavisnap {

// Posts the form to url on the calling thread and waits for the answer; the answer's
// cookie then replaces SessionCookie (emptied when it sent none). Throws AppError only
// when a file part cannot be opened, and then sends nothing.
HttpResult PostForm(const std::string& url, const TTypFormDataArray& form);

}  // namespace tavisnap
