// Runs a TFormInit on a thread of its own, with its own message loop, so that the test
// thread can drive it and answer the message boxes it opens.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "account/form_init_win.h"
#include "account/recording_services.h"

namespace tavisnap::testing {

class FormInitThread {
 public:
  FormInitThread();
  ~FormInitThread();
  FormInitThread(const FormInitThread&) = delete;
  FormInitThread& operator=(const FormInitThread&) = delete;

  HWND hwnd() const { return hwnd_; }
  // A control of the window or of one of its pages.
  HWND Item(int id) const { return form_->Item(id); }
  // Runs the task on the window's thread and returns at once: the task may open a box.
  // Only while no box is open (a box's own loop would drop the request).
  void Post(std::function<void(TFormInit&)> task);
  // Runs the task there and waits for it.
  void Run(std::function<void(TFormInit&)> task);

  RecordingServices services;

 private:
  static constexpr UINT kRunTasks = WM_APP + 1;
  void Loop(std::promise<void>& ready);

  std::thread thread_;
  DWORD threadId_ = 0;
  HWND hwnd_ = nullptr;
  TFormInit* form_ = nullptr;
  std::mutex mutex_;
  std::deque<std::function<void(TFormInit&)>> tasks_;
};

}  // namespace tavisnap::testing
