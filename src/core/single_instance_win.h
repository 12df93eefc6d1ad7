// One Tavisnap per user session: a named mutex held for the life of the process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tavisnap {

class SingleInstanceGuard {
 public:
  SingleInstanceGuard();
  ~SingleInstanceGuard();
  SingleInstanceGuard(const SingleInstanceGuard&) = delete;
  SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

  bool IsFirstInstance() const { return first_; }

 private:
  HANDLE mutex_ = nullptr;
  bool first_ = false;
};

// What a second start does before it ends: hands its parameters to the running
// instance's main window and tells the user that Tavisnap already runs.
void NotifyRunningInstance(const std::vector<std::string>& params);

// Parameters 1..n of this process's command line, UTF-8.
std::vector<std::string> CommandLineParameters();

}  // namespace tavisnap
