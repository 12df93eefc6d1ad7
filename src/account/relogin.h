// The fresh sign-in every command on the signed-in account runs first. It stores
// nothing; only the session cookie changes (taken from the answer by the transaction).
#pragma once

#include <functional>

#include "account/account_texts.h"
#include "core/prompter.h"

namespace tavisnap {

// Brings the main window in front before a message (ForceForeground in the program).
using ForegroundFunction = std::function<void()>;

// Signs in afresh with SysInfo.MailId and SysInfo.Password. On a failed transaction or
// a refusal it has shown its warning and returns false; any other answer, an empty one
// included, counts as signed in.
bool Relogin(Prompter& prompter, const ForegroundFunction& foreground, const FormPoster& post);
// The same with PostForm and ForceForeground.
bool Relogin(Prompter& prompter);
#ifdef _WIN32
// The same with the program's message boxes.
bool Relogin();
#endif

}  // namespace tavisnap
