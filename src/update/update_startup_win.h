// Start-up's version check: the own and the published version, and the update offer.
// The fetch and the download run on a worker thread while the windows keep painting.
#pragma once

#include <windows.h>

#include "core/prompter.h"

namespace tavisnap {

// Sets CurrentVersion and LatestVersion, then offers the update. When the user accepts and
// the updater arrives, starts it (owned by `owner`) and ends the process; an updater that
// does not start is reported, and start-up goes on.
void CheckForUpdate(HWND owner, Prompter& prompter);

}  // namespace tavisnap
