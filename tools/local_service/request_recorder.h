// Keeps the raw bytes of every request (request line, headers, body, as received) in
// STATE/requests/NNNNNN.http, numbered in the order the connections began.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tavisnap::local_service {

class RequestRecord {
 public:
  RequestRecord(std::FILE* file, int64_t limit) : file_(file), room_(limit) {}
  ~RequestRecord();
  RequestRecord(const RequestRecord&) = delete;
  RequestRecord& operator=(const RequestRecord&) = delete;
  // Appends and flushes, so the record is whole once the service has answered.
  void Append(const char* data, size_t size);

 private:
  std::FILE* file_;
  int64_t room_;
};

class RequestRecorder {
 public:
  RequestRecorder(std::string dir, int64_t limit);
  std::unique_ptr<RequestRecord> Open();
  std::vector<std::string> Ids() const;
  std::optional<std::string> Read(const std::string& id) const;
  void Reset();

 private:
  std::string dir_;
  int64_t limit_;
  mutable std::mutex mutex_;
  int last_ = 0;
};

}  // namespace tavisnap::local_service
