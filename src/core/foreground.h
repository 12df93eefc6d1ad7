// Bringing the (usually hidden) main window in front before a message, so that the box
// opens where the user is, not behind another program's window.
#pragma once

namespace tavisnap {

// The main window that ForceForeground brings in front: its HWND, registered when it is
// created (nullptr to unregister). Kept as void* so that portable code can pass it on.
void SetMainWindowHandle(void* hwnd);
void* MainWindowHandle();

// Makes the main window the foreground window despite the system's foreground lock.
// Results of the system calls are not examined; the system's foreground lock time-out is
// restored before it returns. Does nothing when no main window is registered, and does
// nothing off Windows.
void ForceForeground();

}  // namespace tavisnap
