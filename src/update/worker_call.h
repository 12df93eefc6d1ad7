// Runs a blocking call on a worker thread while the calling thread keeps doing its own
// work (pumping window messages), so that a slow server does not freeze the windows.
#pragma once

#include <atomic>
#include <functional>
#include <system_error>
#include <thread>

namespace tavisnap {

// `wait` is called repeatedly until `work` has returned; it should sleep briefly or wait
// for messages. An exception of `work` stays on the worker: the result is then T{}. When no
// thread can be started, `work` runs on the calling thread instead.
template <typename T>
T CallOnWorker(const std::function<T()>& work, const std::function<void()>& wait) {
  T result{};
  std::atomic<bool> done{false};
  auto run = [&] {
    try {
      result = work();
    } catch (...) {
      result = T{};
    }
    done.store(true, std::memory_order_release);
  };
  std::thread worker;
  try {
    worker = std::thread(run);
  } catch (const std::system_error&) {
    run();
  }
  while (!done.load(std::memory_order_acquire)) wait();
  if (worker.joinable()) worker.join();
  return result;
}

}  // namespace tavisnap
