#include "account/form_init_thread_win.h"

namespace tavisnap::testing {

FormInitThread::FormInitThread() {
  std::promise<void> ready;
  std::future<void> created = ready.get_future();
  thread_ = std::thread([this, &ready] { Loop(ready); });
  created.wait();
}

FormInitThread::~FormInitThread() {
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

void FormInitThread::Loop(std::promise<void>& ready) {
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
  TFormInit form(services);
  form_ = &form;
  hwnd_ = form.hwnd();
  threadId_ = GetCurrentThreadId();
  ready.set_value();
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!msg.hwnd && msg.message == kRunTasks) {
      std::deque<std::function<void(TFormInit&)>> tasks;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks.swap(tasks_);
      }
      for (auto& task : tasks) task(form);
      continue;
    }
    if (IsDialogMessageW(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  form_ = nullptr;
}

void FormInitThread::Post(std::function<void(TFormInit&)> task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  PostThreadMessageW(threadId_, kRunTasks, 0, 0);
}

void FormInitThread::Run(std::function<void(TFormInit&)> task) {
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  Post([task = std::move(task), done](TFormInit& form) {
    task(form);
    done->set_value();
  });
  finished.wait();
}

}  // namespace tavisnap::testing
