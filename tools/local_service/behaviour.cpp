#include "behaviour.h"

#include <stdexcept>

namespace tavisnap::local_service {
namespace {

int64_t Integer(const std::string& name, const std::string& text) {
  size_t used = 0;
  int64_t value = 0;
  try {
    value = std::stoll(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (text.empty() || used != text.size()) {
    throw std::invalid_argument(name + ": not a number: " + text);
  }
  return value;
}

}  // namespace

Behaviour ParseBehaviour(const std::multimap<std::string, std::string>& params) {
  Behaviour b;
  for (const auto& [name, value] : params) {
    if (name == "delay_ms")
      b.delay_ms = static_cast<int>(Integer(name, value));
    else if (name == "status")
      b.status = static_cast<int>(Integer(name, value));
    else if (name == "answer")
      b.answer = value;
    else if (name == "answer_repeat")
      b.answer_repeat = static_cast<int>(Integer(name, value));
    else if (name == "set_cookie")
      b.replace_cookies = true, b.set_cookies.push_back(value);
    else if (name == "no_cookie")
      b.replace_cookies = true;
    else if (name == "redirect")
      b.redirect = value;
    else if (name == "redirect_count")
      b.redirect_count = static_cast<int>(Integer(name, value));
    else if (name == "stall_after")
      b.stall_after = Integer(name, value);
    else if (name == "stall_ms")
      b.stall_ms = static_cast<int>(Integer(name, value));
    else if (name == "read_bps")
      b.read_bps = Integer(name, value);
    else if (name == "read_stop_after")
      b.read_stop_after = Integer(name, value);
    else
      throw std::invalid_argument("unknown switch: " + name);
  }
  if (!b.redirect.empty() && b.redirect_count == 0) b.redirect_count = 1;
  if (b.status != 0 && (b.status < 100 || b.status > 999)) {
    throw std::invalid_argument("status: out of range");
  }
  return b;
}

Behaviour BehaviourSwitch::Get() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return behaviour_;
}

void BehaviourSwitch::Set(Behaviour behaviour) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    behaviour_ = std::move(behaviour);
    ++generation_;
  }
  changed_.notify_all();
}

std::string BehaviourSwitch::TakeRedirect() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (behaviour_.redirect.empty() || behaviour_.redirect_count == 0) return {};
  if (behaviour_.redirect_count > 0) --behaviour_.redirect_count;
  return behaviour_.redirect;
}

bool BehaviourSwitch::Sleep(std::chrono::milliseconds time) {
  std::unique_lock<std::mutex> lock(mutex_);
  uint64_t start = generation_;
  return !changed_.wait_for(lock, time, [&] { return stopping_ || generation_ != start; });
}

void BehaviourSwitch::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
}

bool BehaviourSwitch::Stopping() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return stopping_;
}

uint64_t BehaviourSwitch::Generation() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return generation_;
}

}  // namespace tavisnap::local_service
