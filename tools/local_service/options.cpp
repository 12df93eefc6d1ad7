#include "options.h"

#include <stdexcept>
#include <string_view>

namespace tavisnap::local_service {
namespace {

constexpr const char* kUsage =
    "usage: local_service --port N --state DIR [--host 127.0.0.1] [--max-tls 1.1]\n"
    "                     [--cert good|mismatch|untrusted] [--record-limit BYTES]";

[[noreturn]] void Fail(const std::string& why) {
  throw std::runtime_error(why + "\n" + kUsage);
}

long long Number(std::string_view name, const std::string& text) {
  size_t used = 0;
  long long value = -1;
  try {
    value = std::stoll(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || value < 0) Fail(std::string(name) + ": not a number: " + text);
  return value;
}

}  // namespace

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (i + 1 >= argc) Fail("missing value after " + std::string(arg));
    std::string value = argv[++i];
    if (arg == "--port") {
      options.port = static_cast<int>(Number(arg, value));
      if (options.port > 65535) Fail("--port: out of range");
    } else if (arg == "--state") {
      options.state_dir = value;
    } else if (arg == "--host") {
      options.host = value;
    } else if (arg == "--max-tls") {
      if (value != "1.0" && value != "1.1" && value != "1.2" && value != "1.3") {
        Fail("--max-tls: one of 1.0, 1.1, 1.2, 1.3");
      }
      options.max_tls = value;
    } else if (arg == "--cert") {
      if (value != "good" && value != "mismatch" && value != "untrusted") {
        Fail("--cert: one of good, mismatch, untrusted");
      }
      options.cert = value;
    } else if (arg == "--record-limit") {
      options.record_limit = Number(arg, value);
    } else {
      Fail("unknown option " + std::string(arg));
    }
  }
  if (options.state_dir.empty()) Fail("--state is required");
  return options;
}

}  // namespace tavisnap::local_service
