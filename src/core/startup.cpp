#include "core/startup.h"

namespace tavisnap {

std::string JoinInstanceParameters(const std::vector<std::string>& params) {
  std::string joined;
  for (size_t i = 0; i < params.size(); ++i) {
    if (i > 0) joined += '|';
    joined += params[i];
  }
  return joined;
}

Origin CentredOrigin(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
  return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 2};
}

bool WaitForInternet(const InternetWait& wait) {
  for (int i = 0; i < wait.tries; ++i) {
    bool connected = wait.isConnected();
    wait.processMessages();
    if (connected) {
      wait.sleep(1000);
      return true;
    }
    wait.sleep(500);
  }
  return false;
}

}  // namespace tavisnap
