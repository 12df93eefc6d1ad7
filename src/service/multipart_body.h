// The multipart/form-data body of one request, built with libcurl's MIME API. File parts
// are read from disk while the request is sent, never held whole in memory.
#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>
#include <string_view>

#include "service/form_data.h"

namespace tavisnap {

// "image/jpeg" for .jpg, .jpeg and .jpe in any letter case, else "application/octet-stream".
std::string ContentTypeForPath(std::string_view path);

class MultipartBody {
 public:
  // Throws AppError when the file of a file part cannot be opened.
  MultipartBody(CURL* easy, const TTypFormDataArray& form);

  curl_mime* Mime() const { return mime_.get(); }

 private:
  struct MimeFree {
    void operator()(curl_mime* mime) const { curl_mime_free(mime); }
  };

  void AddText(const TTypFormData& item);
  void AddFile(const TTypFormData& item);

  std::unique_ptr<curl_mime, MimeFree> mime_;
};

}  // namespace tavisnap
