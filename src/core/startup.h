// The portable steps of start-up: what a second start sends to the first, where the
// splash window goes, and the wait for an internet connection.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tavisnap {

// Parameters 1..n of a second start, joined with "|" (empty without parameters).
std::string JoinInstanceParameters(const std::vector<std::string>& params);

struct Origin {
  int left;
  int top;
};
// Top-left corner that centres a window on the screen (integer division).
Origin CentredOrigin(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

// Probes for a connection up to `tries` times: between probes it lets the windows paint,
// then waits 1000 ms after success or 500 ms after failure. Returns whether a probe
// succeeded (about one minute of waiting when none does).
struct InternetWait {
  std::function<bool()> isConnected;
  std::function<void()> processMessages;
  std::function<void(int milliseconds)> sleep;
  int tries = 120;
};
bool WaitForInternet(const InternetWait& wait);

}  // namespace tavisnap
