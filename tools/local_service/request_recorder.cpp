#include "request_recorder.h"

#include <algorithm>
#include <filesystem>

#include "core/file_util.h"

namespace fs = std::filesystem;

namespace tavisnap::local_service {

RequestRecord::~RequestRecord() {
  if (file_) std::fclose(file_);
}

void RequestRecord::Append(const char* data, size_t size) {
  if (!file_ || room_ <= 0) return;
  size_t kept = std::min<size_t>(size, static_cast<size_t>(room_));
  std::fwrite(data, 1, kept, file_);
  std::fflush(file_);
  room_ -= static_cast<int64_t>(kept);
}

RequestRecorder::RequestRecorder(std::string dir, int64_t limit)
    : dir_(std::move(dir)), limit_(limit) {
  fs::create_directories(dir_);
  for (const std::string& id : Ids()) last_ = std::max(last_, std::stoi(id));
}

std::unique_ptr<RequestRecord> RequestRecorder::Open() {
  std::lock_guard<std::mutex> lock(mutex_);
  char name[32];
  std::snprintf(name, sizeof name, "/%06d.http", ++last_);
  return std::make_unique<RequestRecord>(std::fopen((dir_ + name).c_str(), "wb"), limit_);
}

std::vector<std::string> RequestRecorder::Ids() const {
  std::vector<std::string> ids;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(dir_, error)) {
    std::string stem = entry.path().stem().string();
    if (entry.path().extension() == ".http" && stem.size() == 6 &&
        stem.find_first_not_of("0123456789") == std::string::npos) {
      ids.push_back(stem);
    }
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::optional<std::string> RequestRecorder::Read(const std::string& id) const {
  if (id.size() != 6 || id.find_first_not_of("0123456789") != std::string::npos) return {};
  return ReadWholeFile(dir_ + "/" + id + ".http");
}

void RequestRecorder::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(dir_, error)) fs::remove(entry.path(), error);
  last_ = 0;
}

}  // namespace tavisnap::local_service
