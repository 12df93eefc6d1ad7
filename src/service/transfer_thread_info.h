// The result channel between the upload worker and the user-interface thread. The
// capture-send monitor polls Busy on its timer; Success and ReplyText are final once it
// reads Busy false.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

namespace tavisnap {

// The reply text a cancelled upload leaves.
inline constexpr const char* kReplyCancel = "CANCEL";

class TTypThrdInfo {
 public:
  // Set by the caller before the upload starts, cleared when it has ended.
  std::atomic<bool> Busy{false};

  bool Success() const;
  std::string ReplyText() const;

  void SetSuccess(bool success);
  // Both at once, so that a reader never sees one without the other.
  void SetResult(bool success, std::string reply_text);

 private:
  mutable std::mutex mutex_;
  bool success_ = false;
  std::string replyText_;
};

extern TTypThrdInfo ThrdInfo;

}  // namespace tavisnap
