// One upload as the worker thread and the user-interface thread share it. Both hold it
// through shared_ptr, so a worker that was abandoned keeps its own objects alive until it
// ends, and its end frees them.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "service/form_data.h"
#include "service/http_transaction.h"

namespace tavisnap {

struct TransferProgress {
  int64_t ProgressMax = -1;  // bytes of the request body; -1 until sending began
  int64_t Position = 0;      // bytes sent so far
};

class TransferJob {
 public:
  // Builds the transaction on the calling thread (it reads CaFile there).
  TransferJob(std::string url, TTypFormDataArray form);
  TransferJob(const TransferJob&) = delete;
  TransferJob& operator=(const TransferJob&) = delete;

  HttpTransaction& Transaction() { return transaction_; }

  // Worker: stores the outcome into ThrdInfo (and, when the request was sent, the
  // answer's cookie into SessionCookie) and marks the transfer finished, unless the job
  // was abandoned. Returns whether it did.
  bool Publish(const HttpResult& result, bool sent = true);

  // User-interface thread: from now on nothing of this job reaches ThrdInfo,
  // SessionCookie or TransferState, and its network transfer stops. Returns false when
  // the result had already been published.
  bool Abandon();

  void MarkEnded() { ended_.store(true, std::memory_order_release); }
  bool Ended() const { return ended_.load(std::memory_order_acquire); }

  // Called on the worker, often; lock-free.
  void ReportProgress(int64_t total, int64_t sent);
  void ReportSendingDone();
  TransferProgress Progress() const;

 private:
  enum class Phase { Running, Published, Abandoned };

  HttpTransaction transaction_;
  std::mutex mutex_;  // makes publishing and abandoning exclude each other
  Phase phase_ = Phase::Running;
  std::atomic<bool> ended_{false};
  std::atomic<int64_t> total_{-1};
  std::atomic<int64_t> sent_{0};
};

// The worker thread's procedure: runs the transaction, publishes, ends. Catches
// everything: no error leaves the thread.
void TransferWorker(std::shared_ptr<TransferJob> job) noexcept;

}  // namespace tavisnap
