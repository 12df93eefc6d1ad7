// The account window of a running tavisnap.exe, driven from outside as a user would.
#pragma once

#include <windows.h>

#include <string>

namespace tavisnap::testing {

// The visible dialog of the process that holds the sign-in button, or nullptr.
HWND AccountWindow(DWORD pid);

// Registers mail on the registration page, answers both message boxes, signs in with the
// password the local service recorded (TAVISNAP_SERVICE_STATE) and checks that the
// window closes. Fails the running test (gtest assertions) at the first step that does
// not happen.
void RegisterThenSignIn(DWORD pid, HWND account, const std::string& mail, bool autoLogin);

// The first start of a fresh installation: waits for the main window and the account
// window, registers mail and signs in (RegisterThenSignIn); returns the main window, or
// nullptr after failing the running test.
HWND RegisterOnFirstStart(DWORD pid, const std::string& mail, bool autoLogin);

// Whether the window shows its registration page (the first start) or the sign-in page.
bool OnRegistrationPage(HWND account);

// Signs in on the sign-in page with the password the local service recorded for mail,
// the mail address already in its field, and checks that the window closes.
void SignIn(DWORD pid, HWND account, const std::string& mail, bool autoLogin);

}  // namespace tavisnap::testing
