#include "service/multipart_body.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <new>

#include "core/app_error.h"
#include "core/codepage.h"
#include "core/file_util.h"

namespace tavisnap {
namespace {

// An open file that libcurl reads through the callbacks below and frees with the part.
struct FileSource {
  std::ifstream in;
};

size_t ReadFile(char* buffer, size_t size, size_t nitems, void* arg) {
  auto* source = static_cast<FileSource*>(arg);
  source->in.read(buffer, static_cast<std::streamsize>(size * nitems));
  if (source->in.bad()) return CURL_READFUNC_ABORT;
  return static_cast<size_t>(source->in.gcount());
}

int SeekFile(void* arg, curl_off_t offset, int origin) {
  auto* source = static_cast<FileSource*>(arg);
  source->in.clear();
  std::ios::seekdir dir = origin == SEEK_CUR   ? std::ios::cur
                          : origin == SEEK_END ? std::ios::end
                                               : std::ios::beg;
  source->in.seekg(offset, dir);
  return source->in ? CURL_SEEKFUNC_OK : CURL_SEEKFUNC_FAIL;
}

void FreeFile(void* arg) {
  delete static_cast<FileSource*>(arg);
}

[[noreturn]] void ThrowCannotOpen(const std::string& path) {
  throw AppError("送信するファイルを開けません: " + path);
}

}  // namespace

std::string ContentTypeForPath(std::string_view path) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
    return "application/octet-stream";
  }
  std::string ext;
  for (char c : path.substr(dot + 1)) {
    ext.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  if (ext == "jpg" || ext == "jpeg" || ext == "jpe") return "image/jpeg";
  return "application/octet-stream";
}

MultipartBody::MultipartBody(CURL* easy, const TTypFormDataArray& form)
    : mime_(curl_mime_init(easy)) {
  if (!mime_) throw std::bad_alloc();
  for (const TTypFormData& item : form) {
    if (item.Kind == kFormText) AddText(item);
    if (item.Kind == kFormFile) AddFile(item);
  }
}

void MultipartBody::AddText(const TTypFormData& item) {
  curl_mimepart* part = curl_mime_addpart(mime_.get());
  if (!part) throw std::bad_alloc();
  std::string value = Utf8ToCp932(item.Value);
  curl_mime_name(part, Utf8ToCp932(item.Name).c_str());
  curl_mime_data(part, value.data(), value.size());
}

void MultipartBody::AddFile(const TTypFormData& item) {
  std::error_code error;
  std::filesystem::path path = U8Path(item.Value);
  if (!std::filesystem::is_regular_file(path, error)) ThrowCannotOpen(item.Value);
  auto size = std::filesystem::file_size(path, error);
  if (error) ThrowCannotOpen(item.Value);
  auto source = std::make_unique<FileSource>();
  source->in.open(path, std::ios::binary);
  if (!source->in) ThrowCannotOpen(item.Value);

  curl_mimepart* part = curl_mime_addpart(mime_.get());
  if (!part) throw std::bad_alloc();
  curl_mime_name(part, Utf8ToCp932(item.Name).c_str());
  // The service is told the whole local path, in the code page its text fields use.
  curl_mime_filename(part, Utf8ToCp932(item.Value).c_str());
  curl_mime_type(part, ContentTypeForPath(item.Value).c_str());
  if (curl_mime_data_cb(part, static_cast<curl_off_t>(size), ReadFile, SeekFile, FreeFile,
                        source.get()) != CURLE_OK) {
    throw std::bad_alloc();
  }
  source.release();  // the part frees it
}

}  // namespace tavisnap
