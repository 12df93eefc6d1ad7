// Another process's menus cannot be read under Wine (they are process-local), but an open
// popup menu can be looked at: its picture shows, line by line, whether an entry is drawn
// in the text colour (it can be chosen) or only greyed out.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tavisnap::testing {

struct PictureTextLine {
  int top = 0;        // in the window, pixels
  int bottom = 0;     // exclusive
  bool dark = false;  // drawn in the text colour, not only in grey
};

// The lines of text in a shown window's picture, top to bottom, without its frame;
// separators and other thin lines are left out. A highlighted menu entry would read as
// grey: keep the pointer off the menu.
std::vector<PictureTextLine> TextLinesOf(HWND window);

// "dark"/"grey" per line, for messages: "dark grey grey dark".
std::string Describe(const std::vector<PictureTextLine>& lines);

}  // namespace tavisnap::testing
