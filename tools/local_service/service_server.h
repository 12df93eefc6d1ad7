// The service's HTTP side, on cpp-httplib: POST /action.php with the nine commands, the
// update files, the help page and the control interface for tests. The listeners hand it
// each connection's stream.
#pragma once

#include <httplib.h>

#include <atomic>
#include <string>
#include <vector>

#include "behaviour.h"
#include "form.h"
#include "request_recorder.h"
#include "service_state.h"

namespace tavisnap::local_service {

struct ServiceAddresses {
  std::string url;        // https://HOST:PORT/
  std::string plain_url;  // http://HOST:PORT/, the same service without TLS
};

class ServiceServer : public httplib::Server {
 public:
  ServiceServer(ServiceState& state, BehaviourSwitch& behaviour, RequestRecorder& recorder);

  void SetAddresses(ServiceAddresses addresses) { addresses_ = std::move(addresses); }
  // Serves the one request of a connection.
  void ServeConnection(httplib::Stream& stream);

 private:
  struct Reply {
    int status = 200;
    std::string body;
    std::string type = "text/html; charset=UTF-8";
    std::vector<std::string> cookies;
  };

  void OnPost(const httplib::Request& req, httplib::Response& res,
              const httplib::ContentReader& reader);
  void OnGet(const httplib::Request& req, httplib::Response& res);
  void Serve(const httplib::Request& req, httplib::Response& res, Form& form);
  Reply Normal(const httplib::Request& req, Form& form);
  void Control(const httplib::Request& req, httplib::Response& res, const httplib::Params& params);
  void ControlRequests(const httplib::Request& req, httplib::Response& res);
  void ControlAccount(const httplib::Request& req, httplib::Response& res,
                      const httplib::Params& params);
  void ControlUpdate(httplib::Response& res, const httplib::Params& params);

  ServiceState& state_;
  BehaviourSwitch& behaviour_;
  RequestRecorder& recorder_;
  ServiceAddresses addresses_;
  std::atomic<int> redirects_{0};
};

// Writes the update files and the help page's neighbours that do not exist yet; with
// replace, puts the default update files back.
void WriteDefaultFiles(const std::string& state_dir, bool replace = false);

// A version.xml that publishes this version as a grandchild "version" element.
std::string VersionDocument(const std::string& version);

}  // namespace tavisnap::local_service
