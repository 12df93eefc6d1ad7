// Accepts connections on one address, over TLS or plain, one thread each. The request's
// first line is read here, so that control requests go unrecorded and unthrottled; the
// rest of the request and the answer are left to the handler.
#pragma once

#include <httplib.h>
#include <openssl/ssl.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "behaviour.h"
#include "certificates.h"
#include "request_recorder.h"

namespace tavisnap::local_service {

// A server context presenting identity; max_tls ("1.1", ...) caps the protocol version.
// Throws std::runtime_error.
SSL_CTX* NewServerContext(const KeyAndCert& identity, const std::string& max_tls);

class Listener {
 public:
  using Handler = std::function<void(httplib::Stream&)>;

  // ctx null: plain HTTP. The listener does not own ctx.
  Listener(SSL_CTX* ctx, BehaviourSwitch& behaviour, RequestRecorder& recorder, Handler handler);
  ~Listener();

  // Binds host:port (port 0: any); returns the port. Throws std::runtime_error.
  int Listen(const std::string& host, int port);
  void Start();
  void Stop();

 private:
  void AcceptLoop();
  void Serve(int client);

  SSL_CTX* ctx_;
  BehaviourSwitch& behaviour_;
  RequestRecorder& recorder_;
  Handler handler_;
  int socket_ = -1;
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;
};

}  // namespace tavisnap::local_service
