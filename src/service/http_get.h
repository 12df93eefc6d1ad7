// A plain GET over the program's TLS policy, for the update files: bounded in time and
// size, no cookie, the body handed to the caller piece by piece.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace tavisnap {

struct HttpGetLimits {
  long totalMillis = 0;   // the whole request, connection included; 0: no bound
  long stallSeconds = 0;  // longest wait for the next byte; 0: no bound
  size_t maxBytes = 0;    // a longer body fails the request
};

// Takes each piece of the body; false ends the request as failed.
using BodySink = std::function<bool(const char* data, size_t size)>;

// True when the final response had status 200 and its whole body went to the sink.
// Blocks the calling thread; safe on a worker (it reads no globals).
bool HttpGet(const std::string& url, const std::string& caPem, const HttpGetLimits& limits,
             const BodySink& sink);

// The body of a successful GET, or nothing.
std::optional<std::string> HttpGetText(const std::string& url, const std::string& caPem,
                                       const HttpGetLimits& limits);

}  // namespace tavisnap
