#include "connection_stream.h"

#include <poll.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace tavisnap::local_service {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWaitMillis = 100;

void Address(int fd, bool peer, std::string& ip, int& port) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  int rc = peer ? getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length)
                : getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  char text[INET6_ADDRSTRLEN] = "";
  port = 0;
  if (rc == 0 && address.ss_family == AF_INET) {
    auto* in = reinterpret_cast<sockaddr_in*>(&address);
    inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
    port = ntohs(in->sin_port);
  } else if (rc == 0 && address.ss_family == AF_INET6) {
    auto* in = reinterpret_cast<sockaddr_in6*>(&address);
    inet_ntop(AF_INET6, &in->sin6_addr, text, sizeof text);
    port = ntohs(in->sin6_port);
  }
  ip = text;
}

}  // namespace

ConnectionStream::ConnectionStream(int fd, SSL* ssl, std::string head, RequestRecord* record,
                                   BehaviourSwitch* behaviour)
    : fd_(fd),
      ssl_(ssl),
      head_(std::move(head)),
      record_(record),
      behaviour_(behaviour),
      received_(static_cast<int64_t>(head_.size())),
      start_(Clock::now()) {
  if (record_) record_->Append(head_.data(), head_.size());
}

bool ConnectionStream::is_readable() const {
  if (head_used_ < head_.size() || (ssl_ && SSL_pending(ssl_) > 0)) return true;
  pollfd p{fd_, POLLIN, 0};
  return poll(&p, 1, 0) > 0;
}

bool ConnectionStream::is_writable() const {
  pollfd p{fd_, POLLOUT, 0};
  return poll(&p, 1, 0) > 0 && !(p.revents & (POLLERR | POLLHUP));
}

size_t ConnectionStream::Allowance() {
  for (;;) {
    if (!behaviour_) return 1 << 20;
    Behaviour b = behaviour_->Get();
    size_t allowed = 1 << 20;
    bool held = false;
    if (b.read_stop_after >= 0) {
      held = received_ >= b.read_stop_after;
      if (!held) allowed = static_cast<size_t>(b.read_stop_after - received_);
    }
    if (!held && b.read_bps > 0) {
      double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
      held = static_cast<double>(received_) >= seconds * static_cast<double>(b.read_bps);
      allowed = std::min<size_t>(allowed, std::max<int64_t>(1, b.read_bps / 10));
    }
    if (!held) return allowed;
    if (behaviour_->Stopping()) return 0;
    // Held back: only notice the client leaving.
    pollfd p{fd_, POLLRDHUP, 0};
    if (poll(&p, 1, kWaitMillis) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR))) return 0;
  }
}

ssize_t ConnectionStream::ReadSocket(char* ptr, size_t size) {
  int n = size > INT32_MAX ? INT32_MAX : static_cast<int>(size);
  if (ssl_) {
    int got = SSL_read(ssl_, ptr, n);
    return got > 0 ? got : -1;
  }
  ssize_t got = recv(fd_, ptr, static_cast<size_t>(n), 0);
  return got > 0 ? got : -1;
}

ssize_t ConnectionStream::read(char* ptr, size_t size) {
  if (head_used_ < head_.size()) {
    size_t n = std::min(size, head_.size() - head_used_);
    std::memcpy(ptr, head_.data() + head_used_, n);
    head_used_ += n;
    return static_cast<ssize_t>(n);
  }
  size_t allowed = Allowance();
  if (allowed == 0) return -1;
  ssize_t got = ReadSocket(ptr, std::min(size, allowed));
  if (got > 0) {
    received_ += got;
    if (record_) record_->Append(ptr, static_cast<size_t>(got));
  }
  return got;
}

ssize_t ConnectionStream::write(const char* ptr, size_t size) {
  size_t left = size;
  while (left > 0) {
    ssize_t sent;
    if (ssl_) {
      int n = SSL_write(ssl_, ptr, static_cast<int>(std::min<size_t>(left, INT32_MAX)));
      sent = n > 0 ? n : -1;
    } else {
      sent = send(fd_, ptr, left, MSG_NOSIGNAL);
    }
    if (sent <= 0) return -1;
    ptr += sent;
    left -= static_cast<size_t>(sent);
  }
  return static_cast<ssize_t>(size);
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  Address(fd_, true, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const {
  Address(fd_, false, ip, port);
}

}  // namespace tavisnap::local_service
