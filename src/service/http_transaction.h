// One HTTPS multipart POST to the service and its answer. PostForm runs it on the
// calling thread; the upload worker runs it with progress reports and may abort it from
// the user-interface thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "service/form_data.h"

namespace tavisnap {

struct HttpResult {
  bool ok = false;     // the final response had status 200
  int status = 0;      // status of the final response; -1 when none arrived
  std::string body;    // the cleaned answer text, UTF-8
  std::string cookie;  // the first Set-Cookie value of the final response, whole
  bool aborted = false;
};

// Called on the thread that runs the transaction, often: it must return quickly.
using SendProgress = std::function<void(int64_t total, int64_t sent)>;

class HttpTransaction {
 public:
  // Answers beyond this size are cut here; no service answer comes near it.
  static constexpr size_t kMaxAnswerBytes = 64 * 1024;

  // Takes the extra trusted authorities from CaFile now, on the constructing thread.
  HttpTransaction(std::string url, TTypFormDataArray form);
  HttpTransaction(const HttpTransaction&) = delete;
  HttpTransaction& operator=(const HttpTransaction&) = delete;

  void SetProgress(SendProgress progress) { progress_ = std::move(progress); }

  // Sends the request with the current SessionCookie and waits for the answer. Network,
  // TLS and HTTP failures end up in the result; only a file part that cannot be opened
  // throws (AppError), before anything is sent. Does not touch SessionCookie afterwards.
  // Runs once per object.
  HttpResult Run();

  // From any thread: Run returns within a moment with an aborted result (at once when it
  // has not started yet). Once Abort has returned, PublishCookie never writes again.
  void Abort();
  bool Aborted() const { return aborted_.load(); }

  // Stores the answer's cookie as the session cookie unless the transaction was aborted.
  // Returns whether it did.
  bool PublishCookie(const HttpResult& result);

 private:
  friend struct TransactionCallbacks;
  bool OnSendProgress(int64_t total, int64_t sent);  // false stops the transfer

  std::string url_;
  TTypFormDataArray form_;
  std::string caPem_;
  SendProgress progress_;
  int64_t lastSent_ = -1;
  std::atomic<bool> aborted_{false};
  std::mutex mutex_;       // guards multi_ against Abort, and orders Abort and PublishCookie
  void* multi_ = nullptr;  // the running transfer's CURLM, for waking it up
};

}  // namespace tavisnap
