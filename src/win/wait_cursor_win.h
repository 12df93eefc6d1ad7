// The hourglass over every window of the program for as long as an operation holds it.
// Each long operation holds a WaitCursor of its own, so the hourglass ends only when the
// last of them lets go: a CSV import during an upload does not take the upload's away.
#pragma once

namespace tavisnap {

class WaitCursor {
 public:
  WaitCursor() = default;
  ~WaitCursor() { Release(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

  // A second Hold before Release counts once.
  void Hold();
  void Release();

 private:
  bool held_ = false;
};

// WM_SETCURSOR of the program's windows (the framework's procedures ask): true when the
// hourglass has been set for it. A cursor set once would last only until the pointer
// moves.
bool SetWaitCursorIfHeld(unsigned hitTest);

}  // namespace tavisnap
