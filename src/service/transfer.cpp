#include "service/transfer.h"

#include <atomic>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>

namespace tavisnap {

std::atomic<uint8_t> TransferState{kTransferIdle};

namespace {

// The running worker; touched on the user-interface thread only.
struct WorkerHandle {
  std::thread thread;
  std::shared_ptr<TransferJob> job;

  WorkerHandle() = default;
  WorkerHandle(WorkerHandle&&) = default;
  WorkerHandle& operator=(WorkerHandle&&) = delete;
  // The program ends during an upload: the worker must neither deliver into objects
  // being destroyed nor keep the exit waiting.
  ~WorkerHandle() {
    if (job) job->Abandon();
    if (thread.joinable()) thread.detach();
  }
};
std::optional<WorkerHandle> TransferThread;

std::atomic<int> live_workers{0};

bool StartStdThread(std::function<void()> body, std::thread& thread) {
  try {
    thread = std::thread(std::move(body));
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

ThreadStarter& Starter() {
  static ThreadStarter starter = StartStdThread;
  return starter;
}

}  // namespace

void SetTransferThreadStarter(ThreadStarter starter) {
  Starter() = starter ? std::move(starter) : ThreadStarter(StartStdThread);
}

int LiveTransferWorkers() {
  return live_workers.load(std::memory_order_acquire);
}

bool RunTransfer(const std::string& url, const TTypFormDataArray& form) {
  // One upload at a time; a leftover worker must not deliver into this one.
  if (TransferThread) {
    TransferThread->job->Abandon();
    ReleaseTransfer();
  }
  std::shared_ptr<TransferJob> job;
  try {
    job = std::make_shared<TransferJob>(url, form);
  } catch (...) {
    return false;
  }
  WorkerHandle handle;
  handle.job = job;
  live_workers.fetch_add(1, std::memory_order_relaxed);
  auto body = [job = std::move(job)]() mutable {
    TransferWorker(std::move(job));
    live_workers.fetch_sub(1, std::memory_order_release);
  };
  bool started = false;
  try {
    started = Starter()(std::move(body), handle.thread);
  } catch (...) {
    started = false;
  }
  if (!started) {
    live_workers.fetch_sub(1, std::memory_order_relaxed);
    return false;
  }
  TransferThread.emplace(std::move(handle));
  return true;
}

void TransferShown() {
  TransferState.store(kTransferRunning, std::memory_order_relaxed);
  ThrdInfo.SetResult(true, "");
}

void TransferCancelClicked() {
  TransferState.store(kTransferCancel, std::memory_order_relaxed);
  if (TransferThread) TransferThread->job->Abandon();
}

bool TransferTimerTick() {
  if (TransferState.load(std::memory_order_acquire) == kTransferCancel) {
    if (TransferThread) TransferThread->job->Abandon();
    TransferState.store(kTransferFinished, std::memory_order_relaxed);
    ThrdInfo.SetResult(false, kReplyCancel);
  }
  return TransferState.load(std::memory_order_acquire) == kTransferFinished;
}

bool FinishTransfer() {
  bool had_worker = TransferThread.has_value();
  if (had_worker) {
    // Still running after a cancel, or in the instant between publishing and its end.
    if (!TransferThread->job->Ended()) TransferThread->job->Abandon();
    ReleaseTransfer();
  }
  ThrdInfo.Busy.store(false, std::memory_order_release);
  return had_worker;
}

void ReleaseTransfer() {
  if (!TransferThread) return;
  std::thread& thread = TransferThread->thread;
  if (thread.joinable()) {
    // An ended worker has only its last few instructions left; one still running keeps
    // its own share of the job and frees it when it ends.
    if (TransferThread->job->Ended()) {
      thread.join();
    } else {
      thread.detach();
    }
  }
  TransferThread.reset();
}

bool TransferWorkerExists() {
  return TransferThread.has_value();
}

TransferProgress CurrentTransferProgress() {
  if (!TransferThread) return {};
  return TransferThread->job->Progress();
}

}  // namespace tavisnap
