// Gives a control the accessible name of the label right before it. Screen readers ask
// the control's accessible object for its name; some systems give a drop-down list the
// selected item's text instead, which says nothing about what the list is for.
#pragma once

#include <windows.h>

namespace tavisnap {

// The control answers its accessible object's name with the text of the window before
// it (without the access-key mark); everything else stays the system's. Lives as long
// as the control.
void NameAfterLabel(HWND control);
// The same, and its description is the text of the window after it (an explanation
// that follows the control in the tab order).
void NameAfterLabelDescribedByNext(HWND control);

}  // namespace tavisnap
