#include "listener.h"

#include <netdb.h>
#include <poll.h>
#include <unistd.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <stdexcept>

#include "connection_stream.h"

namespace tavisnap::local_service {
namespace {

constexpr int kPollMillis = 100;
constexpr time_t kIdleSeconds = 120;  // a client silent this long is dropped

int ProtocolVersion(const std::string& text) {
  if (text == "1.0") return TLS1_VERSION;
  if (text == "1.1") return TLS1_1_VERSION;
  if (text == "1.2") return TLS1_2_VERSION;
  return TLS1_3_VERSION;
}

// The request's first line (and whatever came with it); empty when the client sent none.
std::string ReadHead(int fd, SSL* ssl) {
  std::string head;
  char buffer[4096];
  while (head.find('\n') == std::string::npos && head.size() < 8192) {
    int n = ssl ? SSL_read(ssl, buffer, sizeof buffer)
                : static_cast<int>(recv(fd, buffer, sizeof buffer, 0));
    if (n <= 0) break;
    head.append(buffer, static_cast<size_t>(n));
  }
  return head;
}

bool IsControl(const std::string& head) {
  size_t space = head.find(' ');
  return space != std::string::npos && head.compare(space + 1, 10, "/_control/") == 0;
}

}  // namespace

SSL_CTX* NewServerContext(const KeyAndCert& identity, const std::string& max_tls) {
  SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
  if (!ctx || SSL_CTX_use_certificate(ctx, identity.cert.get()) != 1 ||
      SSL_CTX_use_PrivateKey(ctx, identity.key.get()) != 1) {
    SSL_CTX_free(ctx);
    throw std::runtime_error("TLS: cannot use the server certificate");
  }
  if (!max_tls.empty()) {
    int version = ProtocolVersion(max_tls);
    SSL_CTX_set_min_proto_version(ctx, TLS1_VERSION);
    SSL_CTX_set_max_proto_version(ctx, version);
    // OpenSSL 3 refuses the old protocols at its default security level.
    if (version < TLS1_2_VERSION) SSL_CTX_set_security_level(ctx, 0);
  }
  return ctx;
}

Listener::Listener(SSL_CTX* ctx, BehaviourSwitch& behaviour, RequestRecorder& recorder,
                   Handler handler)
    : ctx_(ctx), behaviour_(behaviour), recorder_(recorder), handler_(std::move(handler)) {}

Listener::~Listener() {
  Stop();
}

int Listener::Listen(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST | AI_PASSIVE;
  addrinfo* found = nullptr;
  std::string service = std::to_string(port);
  if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || !found) {
    throw std::runtime_error("not a numeric address: " + host);
  }
  socket_ = ::socket(found->ai_family, SOCK_STREAM, 0);
  int one = 1;
  setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  bool bound = socket_ >= 0 && bind(socket_, found->ai_addr, found->ai_addrlen) == 0 &&
               listen(socket_, 64) == 0;
  freeaddrinfo(found);
  if (!bound) throw std::runtime_error("cannot listen on " + host + " port " + service);
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                                             : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

void Listener::Start() {
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

void Listener::Stop() {
  stopping_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  if (socket_ >= 0) close(socket_);
  socket_ = -1;
}

void Listener::AcceptLoop() {
  while (!stopping_) {
    pollfd p{socket_, POLLIN, 0};
    if (poll(&p, 1, kPollMillis) <= 0) continue;
    int client = accept(socket_, nullptr, nullptr);
    if (client < 0) continue;
    std::thread([this, client] {
      Serve(client);
      close(client);
    }).detach();
  }
}

void Listener::Serve(int client) {
  int one = 1;
  setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  timeval idle{kIdleSeconds, 0};
  setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &idle, sizeof idle);
  setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &idle, sizeof idle);
  SSL* ssl = nullptr;
  if (ctx_) {
    ssl = SSL_new(ctx_);
    SSL_set_fd(ssl, client);
    if (SSL_accept(ssl) != 1) {
      SSL_free(ssl);
      return;
    }
  }
  std::string head = ReadHead(client, ssl);
  if (!head.empty()) {
    bool control = IsControl(head);
    auto record = control ? nullptr : recorder_.Open();
    ConnectionStream stream(client, ssl, std::move(head), record.get(),
                            control ? nullptr : &behaviour_);
    handler_(stream);
  }
  if (ssl) {
    SSL_shutdown(ssl);
    SSL_free(ssl);
  }
}

}  // namespace tavisnap::local_service
