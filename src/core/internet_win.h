#pragma once

namespace tavisnap {

// Waits up to about a minute for the platform to report an internet connection, keeping
// the program's windows painted meanwhile.
bool WaitForInternet();

}  // namespace tavisnap
