// How far one thread has got down a picture it fills, for another thread that works on
// the rows above it.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace tavisnap {

class RowProgress {
 public:
  // Rows 0 to rows - 1 are done (0: the picture has its size, none yet).
  void Publish(int rows) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      rows_ = std::max(rows_, rows);
    }
    changed_.notify_all();
  }
  // No more rows will come.
  void Abandon() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      abandoned_ = true;
    }
    changed_.notify_all();
  }
  // The rows done once there are at least `needed`, or -1 once abandoned short of them.
  int WaitFor(int needed) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return abandoned_ || rows_ >= needed; });
    return rows_ >= needed ? rows_ : -1;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int rows_ = -1;
  bool abandoned_ = false;
};

// The thread that works behind a RowProgress, joined on every way out of the scope that
// started it. The rows still to come are abandoned first: a thread waiting for rows that
// will never be published would keep the join waiting for ever, and a thread left
// joinable would end the program.
class RowWorker {
 public:
  // Throws std::system_error when no thread can be had.
  template <typename Body>
  RowWorker(RowProgress& progress, Body&& body)
      : progress_(progress), thread_(std::forward<Body>(body)) {}
  ~RowWorker() { Join(); }
  RowWorker(const RowWorker&) = delete;
  RowWorker& operator=(const RowWorker&) = delete;

  // Once every row is published, abandoning changes nothing for the worker.
  void Join() {
    if (!thread_.joinable()) return;
    progress_.Abandon();
    thread_.join();
  }

 private:
  RowProgress& progress_;
  std::thread thread_;
};

}  // namespace tavisnap
