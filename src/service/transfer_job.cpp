#include "service/transfer_job.h"

#include <utility>

#include "service/commands.h"
#include "service/transfer_state.h"
#include "service/transfer_thread_info.h"

namespace tavisnap {

TransferJob::TransferJob(std::string url, TTypFormDataArray form)
    : transaction_(std::move(url), std::move(form)) {
  transaction_.SetProgress([this](int64_t total, int64_t sent) { ReportProgress(total, sent); });
}

bool TransferJob::Publish(const HttpResult& result, bool sent) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (phase_ != Phase::Running) return false;
  phase_ = Phase::Published;
  try {
    if (sent) transaction_.PublishCookie(result);
    if (IsUploadAccepted(result)) {
      ThrdInfo.SetResult(true, result.body);
    } else {
      ThrdInfo.SetSuccess(false);
    }
  } catch (...) {
    ThrdInfo.SetSuccess(false);  // no memory for a copy: the window must still finish
  }
  // A pending cancel request stays: the next tick turns it into "CANCEL".
  uint8_t state = TransferState.load(std::memory_order_relaxed);
  while (state != kTransferCancel &&
         !TransferState.compare_exchange_weak(state, kTransferFinished, std::memory_order_release,
                                              std::memory_order_relaxed)) {
  }
  return true;
}

bool TransferJob::Abandon() {
  bool stopped = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (phase_ == Phase::Running) {
      phase_ = Phase::Abandoned;
      stopped = true;
    }
  }
  if (stopped) transaction_.Abort();
  return stopped;
}

void TransferJob::ReportProgress(int64_t total, int64_t sent) {
  // Position first: a reader that sees the total also sees a position of this transfer.
  sent_.store(sent, std::memory_order_relaxed);
  total_.store(total, std::memory_order_release);
}

void TransferJob::ReportSendingDone() {
  int64_t total = total_.load(std::memory_order_relaxed);
  if (total > 0) sent_.store(total, std::memory_order_relaxed);
}

TransferProgress TransferJob::Progress() const {
  TransferProgress progress;
  progress.ProgressMax = total_.load(std::memory_order_acquire);
  progress.Position = sent_.load(std::memory_order_relaxed);
  return progress;
}

void TransferWorker(std::shared_ptr<TransferJob> job) noexcept {
  HttpResult result;
  bool sent = true;
  try {
    result = job->Transaction().Run();
  } catch (...) {
    // A file part that cannot be opened, or no memory: nothing went out, the upload
    // simply failed, and the session cookie stays as it was.
    result = HttpResult{};
    result.status = -1;
    sent = false;
  }
  if (result.status > 0) job->ReportSendingDone();
  job->Publish(result, sent);
  job->MarkEnded();
}

}  // namespace tavisnap
