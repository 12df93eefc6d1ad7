// Switches that make the service misbehave for tests, set through the control interface.
// They apply to every request except control requests, until replaced or reset.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tavisnap::local_service {

struct Behaviour {
  int delay_ms = 0;                   // wait before answering
  int status = 0;                     // answer with this status instead of serving
  std::optional<std::string> answer;  // answer with these bytes instead of serving
  int answer_repeat = 1;
  bool replace_cookies = false;  // send set_cookies instead of the usual ones
  std::vector<std::string> set_cookies;
  std::string redirect;          // Location of a 302 answer
  int redirect_count = 0;        // how many more redirects; -1 without end
  int64_t stall_after = -1;      // send this many body bytes, then stall
  int stall_ms = 0;              // stall this long, then close the connection
  int64_t read_bps = 0;          // read request bytes at most this fast
  int64_t read_stop_after = -1;  // stop reading after this many request bytes
};

// Parses control parameters (name -> values). Throws std::invalid_argument.
Behaviour ParseBehaviour(const std::multimap<std::string, std::string>& params);

class BehaviourSwitch {
 public:
  Behaviour Get() const;
  void Set(Behaviour behaviour);
  // Counts one redirect off; returns the Location, or empty when no redirect is due.
  std::string TakeRedirect();
  // Sleeps up to the time; returns early (false) when the switches change or on stop.
  bool Sleep(std::chrono::milliseconds time);
  void Stop();
  bool Stopping() const;
  uint64_t Generation() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  Behaviour behaviour_;
  uint64_t generation_ = 0;
  bool stopping_ = false;
};

}  // namespace tavisnap::local_service
