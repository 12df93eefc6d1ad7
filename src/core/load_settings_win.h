// Start-up reading of the settings on Windows: the program's own folder, the password
// from the registry. Ends the process with the system's fatal-exit box when system.ini
// is missing or cannot be read.
#pragma once

namespace tavisnap {

void LoadSettings();

}  // namespace tavisnap
