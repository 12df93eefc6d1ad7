// What CSV import and export need from the main window. The window side holds the
// program's wait cursor for the hourglass (win/wait_cursor_win.h) and passes, for each
// operation, a function that runs its file dialog (OpenPictureDialog with kImportFilter,
// SavePictureDialog with kExportFilter, no overwrite question, no default extension)
// and returns the chosen path in UTF-8, or nothing on Cancel.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tavisnap {

using ChooseFile = std::function<std::optional<std::string>()>;

class Hourglass {
 public:
  virtual ~Hourglass() = default;
  virtual void Show() = 0;
  virtual void Restore() = 0;
};

// Shows the hourglass for its lifetime, however the operation ends.
class HourglassScope {
 public:
  explicit HourglassScope(Hourglass& hourglass) : hourglass_(hourglass) { hourglass_.Show(); }
  ~HourglassScope() { Restore(); }
  HourglassScope(const HourglassScope&) = delete;
  HourglassScope& operator=(const HourglassScope&) = delete;

  // Before a message box: the user should not see the hourglass over it.
  void Restore() {
    if (shown_) hourglass_.Restore();
    shown_ = false;
  }

 private:
  Hourglass& hourglass_;
  bool shown_ = true;
};

}  // namespace tavisnap
