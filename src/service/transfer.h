// The picture upload on its worker thread, and the steps of the transfer window that do
// not need a window: the window (form_http_win.h) calls these on the user-interface
// thread and only shows what they decide.
#pragma once

#include <functional>
#include <string>
#include <thread>

#include "service/form_data.h"
#include "service/transfer_job.h"
#include "service/transfer_state.h"
#include "service/transfer_thread_info.h"

namespace tavisnap {

// Starts the worker for one upload and returns at once: true when the thread started.
// The form is copied; the caller may drop its own at once.
bool RunTransfer(const std::string& url, const TTypFormDataArray& form);

// The window is being shown: the transfer counts as running, and its result as a
// success until the worker or a cancel says otherwise.
void TransferShown();

// Cancel was pressed. The worker is abandoned at once, so that from this moment nothing
// it still receives reaches ThrdInfo or SessionCookie; the next tick reports "CANCEL".
void TransferCancelClicked();

// The transfer window's 300 ms tick: carries out a cancel request. True when the
// transfer has ended and FinishTransfer is due.
bool TransferTimerTick();

// Ends the transfer: deals with the worker (releases it, or abandons it when it still
// runs) and clears ThrdInfo.Busy. Returns whether a worker existed, i.e. whether the
// window is to close.
bool FinishTransfer();

// Lets go of the worker thread: joined when it has ended, else left to end on its own.
void ReleaseTransfer();

bool TransferWorkerExists();

// The current upload's sending progress; ProgressMax is -1 until it has reported.
TransferProgress CurrentTransferProgress();

// Starts body on a new thread; returns false when no thread could be started.
using ThreadStarter = std::function<bool(std::function<void()> body, std::thread& thread)>;
// Replaces how RunTransfer starts its thread (tests); an empty starter restores the
// default.
void SetTransferThreadStarter(ThreadStarter starter);

// Worker threads whose procedure has not returned yet, abandoned ones included.
int LiveTransferWorkers();

}  // namespace tavisnap
