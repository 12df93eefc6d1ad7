// One client connection as the HTTP server reads and writes it: over TLS or plain, with
// every byte the request consumes kept in its record, and reading slowed or held back
// when the switches ask for it.
#pragma once

#include <httplib.h>
#include <openssl/ssl.h>

#include <chrono>
#include <string>

#include "behaviour.h"
#include "request_recorder.h"

namespace tavisnap::local_service {

class ConnectionStream : public httplib::Stream {
 public:
  // ssl may be null (plain HTTP). head: bytes already read from the connection. A null
  // record or behaviour leaves the request unrecorded or unthrottled.
  ConnectionStream(int fd, SSL* ssl, std::string head, RequestRecord* record,
                   BehaviourSwitch* behaviour);

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return fd_; }

 private:
  size_t Allowance();  // waits while reading is held back; 0 when the client left
  ssize_t ReadSocket(char* ptr, size_t size);

  int fd_;
  SSL* ssl_;
  std::string head_;
  size_t head_used_ = 0;
  RequestRecord* record_;
  BehaviourSwitch* behaviour_;
  int64_t received_ = 0;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace tavisnap::local_service
