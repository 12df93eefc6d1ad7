// The command line of the local test service.
#pragma once

#include <cstdint>
#include <string>

namespace tavisnap::local_service {

struct Options {
  std::string host = "127.0.0.1";
  int port = 0;  // 0: any free port
  std::string state_dir;
  std::string max_tls;              // "", "1.0", "1.1", "1.2", "1.3"
  std::string cert = "good";        // "good", "mismatch" (wrong name), "untrusted" (unknown CA)
  int64_t record_limit = 64 << 20;  // bytes of each request kept in the record
};

// Throws std::runtime_error with a usage text on a bad command line.
Options ParseOptions(int argc, char** argv);

}  // namespace tavisnap::local_service
