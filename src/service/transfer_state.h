// The transfer window's state, shared by the upload worker and the user-interface thread.
// The worker publishes its result before it stores kTransferFinished (release); the
// user-interface thread reads the result only after it has loaded that value (acquire).
#pragma once

#include <atomic>
#include <cstdint>

namespace tavisnap {

enum : uint8_t {
  kTransferIdle = 0,      // before the first transfer
  kTransferRunning = 1,   // the window is shown
  kTransferFinished = 7,  // the worker has ended, or a cancel is being carried out
  kTransferCancel = 8,    // Cancel was pressed; the next tick carries it out
};

extern std::atomic<uint8_t> TransferState;

}  // namespace tavisnap
