#include "service/transfer_thread_info.h"

#include <utility>

namespace tavisnap {

TTypThrdInfo ThrdInfo;

bool TTypThrdInfo::Success() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return success_;
}

std::string TTypThrdInfo::ReplyText() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return replyText_;
}

void TTypThrdInfo::SetSuccess(bool success) {
  std::lock_guard<std::mutex> lock(mutex_);
  success_ = success;
}

void TTypThrdInfo::SetResult(bool success, std::string reply_text) {
  std::lock_guard<std::mutex> lock(mutex_);
  success_ = success;
  replyText_ = std::move(reply_text);
}

}  // namespace tavisnap
