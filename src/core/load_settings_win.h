// Start-up reading of the settings on Windows: the program's own folder for the
// installed system.ini, the user's profile (roaming and local application data) for the
// user's files, the password from the registry. Ends the process with the system's
// fatal-exit box when system.ini is missing or cannot be read, or the user's copy of it
// cannot be made.
#pragma once

namespace tavisnap {

void LoadSettings();

}  // namespace tavisnap
