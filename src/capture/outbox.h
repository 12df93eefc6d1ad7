// The outbox: pictures whose upload ended in a communication error, kept with the
// addresses they were sent to until a resend goes through. The capture file is
// rewritten by the next capture, so each kept picture gets a file of its own.
//
// On disk, in one folder beside the capture folder: "<id>.jpg" for each picture and the
// index "outbox.txt", one line an entry, oldest first, UTF-8 (it stays on this machine;
// nothing outside reads it). Fields are separated by tabs; "%", control characters
// (tab, line ends, the escape of ISO-2022-JP) are written as "%" and two hex digits.
// Both the pictures and the index are replaced atomically; a picture is written before
// its line and removed after it, so a crash leaves at most a picture without a line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "capture/send_param.h"

namespace tavisnap {

inline constexpr const char* kOutboxWriteError = "未送信の画像を保存できません";

struct OutboxEntry {
  std::string id;  // six digits, rising: the order of the failures
  int32_t captureMode = 0;
  std::string captureTitle;
  int32_t detailSend = 0;
  std::string mailTo;
  std::string mailCc;
  std::string mailBcc;
  std::string mailMessage;  // ISO-2022-JP bytes, as they were sent
  friend bool operator==(const OutboxEntry&, const OutboxEntry&) = default;
};

// LocalDataDir + "outbox": the user's unsent pictures stay on this machine, in the
// user's own profile.
std::string DefaultOutboxDir();

class Outbox {
 public:
  explicit Outbox(std::string folder) : folder_(std::move(folder)) {}

  // Copies the picture file and appends its entry with the send's addresses and mode.
  // Throws AppError(kOutboxWriteError); nothing is half written.
  OutboxEntry Add(const std::string& pictureFile, const TTypSendParam& sent);
  // The entries whose picture is there, oldest first.
  std::vector<OutboxEntry> Entries() const;
  std::optional<OutboxEntry> Oldest() const;
  bool HasEntries() const { return Oldest().has_value(); }
  std::string PictureOf(const OutboxEntry& entry) const;
  // The entry's line, then its picture. Throws AppError(kOutboxWriteError) when the
  // index cannot be written (the entry then stays).
  void Remove(const std::string& id);

 private:
  std::string IndexPath() const;
  std::vector<std::string> IndexLines() const;
  void WriteIndex(const std::vector<std::string>& lines) const;

  std::string folder_;
};

// The memo's text of an ISO-2022-JP message (UTF-8, lines as they were), so that a
// resend shows the message as it was typed.
std::string Iso2022JpToUtf8(std::string_view iso);

}  // namespace tavisnap
