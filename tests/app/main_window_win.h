// The main window of a running tavisnap.exe, driven from outside through its menu
// entries and pages as a keyboard user would reach them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/driver_win.h"

namespace tavisnap::testing {

// The program's main window (hidden or not), or nullptr after the time-out.
HWND WaitForMainWindow(DWORD pid, Millis timeout = 30s);

// Adds an entry to the address book on its page; fails the running test when the
// program does not confirm it.
void AddAddress(DWORD pid, HWND main, const std::wstring& name, const std::wstring& mail);

// Makes entry `index` (1 is the first entry of the book) the current recipient on the
// recipient page, then hides the window again; with a screenshot of the page (named
// `screenshot`) before it goes.
void ChooseRecipient(DWORD pid, HWND main, int index, const char* screenshot = nullptr);
// The current recipient's address as the recipient page shows it.
std::wstring CurrentRecipient(HWND main);

// Chooses a hotkey entry of the main menu (IDM_MenuSetHotKey_...), answers the boxes
// that follow with OK, up to `boxes` of them, and returns what they said, in order.
std::vector<std::wstring> ChooseHotKeyEntry(DWORD pid, HWND main, int menuId, int boxes = 2);

// Ends the program through the tray's exit entry, answering its question with OK, and
// waits for the process to end; fails the running test otherwise.
void ExitThroughTheTray(HWND main, Process& process);

}  // namespace tavisnap::testing
