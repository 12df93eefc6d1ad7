// local_service: the web service on loopback, for tests and benchmarks.
//   local_service --port 0 --state DIR [--host 127.0.0.1] [--max-tls 1.1]
//                 [--cert good|mismatch|untrusted] [--record-limit BYTES]
// Prints "listening https://HOST:PORT/" once it accepts connections; SIGTERM or SIGINT
// end it.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "certificates.h"
#include "core/file_util.h"
#include "listener.h"
#include "options.h"
#include "request_recorder.h"
#include "service_server.h"
#include "service_state.h"

using namespace tavisnap::local_service;

namespace {

std::string UrlHost(const std::string& host) {
  return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

int Run(const Options& options, sigset_t& signals) {
  std::filesystem::create_directories(options.state_dir);
  std::string dir = std::filesystem::absolute(options.state_dir).lexically_normal().string();
  if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  KeyAndCert identity = ServerCertificate(dir, options.cert);
  WriteDefaultFiles(dir);
  ServiceState state(dir);
  BehaviourSwitch behaviour;
  RequestRecorder recorder(dir + "/requests", options.record_limit);
  ServiceServer server(state, behaviour, recorder);
  SSL_CTX* ctx = NewServerContext(identity, options.max_tls);
  auto serve = [&server](httplib::Stream& stream) { server.ServeConnection(stream); };
  Listener tls(ctx, behaviour, recorder, serve);
  Listener plain(nullptr, behaviour, recorder, serve);
  int port = tls.Listen(options.host, options.port);
  int plain_port = plain.Listen(options.host, 0);
  std::string host = UrlHost(options.host);
  std::string url = "https://" + host + ":" + std::to_string(port) + "/";
  std::string plain_url = "http://" + host + ":" + std::to_string(plain_port) + "/";
  server.SetAddresses({url, plain_url});
  // Test helpers control every kind of instance through this door, also those whose TLS
  // they would refuse.
  tavisnap::AtomicWriteFile(dir + "/plain-url.txt", plain_url + "\n");
  tls.Start();
  plain.Start();
  std::cout << "listening " << url << std::endl;

  int received = 0;
  sigwait(&signals, &received);
  behaviour.Stop();
  tls.Stop();
  plain.Stop();
  // Connection threads may still be in a transfer; every state file is already whole.
  std::fflush(nullptr);
  std::_Exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  try {
    options = ParseOptions(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "local_service: " << e.what() << "\n";
    return 2;
  }
  // Every thread inherits the mask, so the signals reach only sigwait.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  try {
    return Run(options, signals);
  } catch (const std::exception& e) {
    std::cerr << "local_service: " << e.what() << "\n";
    return 1;
  }
}
