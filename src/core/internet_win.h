#pragma once

#include <functional>

namespace tavisnap {

// Waits up to about a minute for the platform to report an internet connection, calling
// processMessages between the probes so that the program's windows stay painted (the
// window layer's pump, handed in by the program's start-up).
bool WaitForInternet(const std::function<void()>& processMessages);

}  // namespace tavisnap
