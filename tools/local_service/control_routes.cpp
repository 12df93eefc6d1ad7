// The control interface of the test service: /_control/... (see README.md).
#include <stdexcept>

#include "core/file_util.h"

#include "service_server.h"

namespace tavisnap::local_service {
namespace {

constexpr const char* kText = "text/plain; charset=UTF-8";

std::string Param(const httplib::Params& params, const std::string& name) {
  auto it = params.find(name);
  return it == params.end() ? std::string() : it->second;
}

void Fail(httplib::Response& res, int status, const std::string& why) {
  res.status = status;
  res.set_content(why + "\n", kText);
}

}  // namespace

void ServiceServer::Control(const httplib::Request& req, httplib::Response& res,
                            const httplib::Params& params) {
  std::string what = req.path.substr(std::string("/_control/").size());
  bool post = req.method == "POST";
  if (what == "info") {
    res.set_content("url=" + addresses_.url + "\nplain_url=" + addresses_.plain_url +
                        "\nstate=" + state_.Dir() + "\n",
                    kText);
  } else if (what == "password") {
    auto account = state_.Find(Param(params, "user"));
    if (!account) return Fail(res, 404, "no such account");
    res.set_content(account->password, kText);
  } else if (what == "account") {
    ControlAccount(req, res, params);
  } else if (what == "uploads") {
    std::string text;
    for (const std::string& folder : state_.Uploads(Param(params, "user"))) text += folder + "\n";
    res.set_content(text, kText);
  } else if (what == "requests" || what.rfind("requests/", 0) == 0) {
    ControlRequests(req, res);
  } else if (what == "update" && post) {
    ControlUpdate(res, params);
  } else if (what == "reset" && post) {
    WriteDefaultFiles(state_.Dir(), true);
    state_.Reset();
    recorder_.Reset();
    behaviour_.Set(Behaviour{});
    res.set_content("reset\n", kText);
  } else if (what == "behaviour" && post) {
    try {
      behaviour_.Set(ParseBehaviour(params));
    } catch (const std::invalid_argument& e) {
      return Fail(res, 400, e.what());
    }
    res.set_content("set\n", kText);
  } else {
    Fail(res, 404, "unknown control request " + req.method + " " + req.path);
  }
}

void ServiceServer::ControlRequests(const httplib::Request& req, httplib::Response& res) {
  std::vector<std::string> ids = recorder_.Ids();
  if (req.path == "/_control/requests") {
    std::string text;
    for (const std::string& id : ids) text += id + "\n";
    return res.set_content(text, kText);
  }
  std::string id = req.path.substr(std::string("/_control/requests/").size());
  if (id == "last") id = ids.empty() ? std::string() : ids.back();
  auto bytes = recorder_.Read(id);
  if (!bytes) return Fail(res, 404, "no such request");
  res.set_content(*bytes, "application/octet-stream");
}

void ServiceServer::ControlUpdate(httplib::Response& res, const httplib::Params& params) {
  std::string dir = state_.Dir() + "/update/";
  if (params.count("version") && params.count("xml")) {
    return Fail(res, 400, "version or xml, not both");
  }
  bool ok = true;
  if (params.count("version")) {
    ok = AtomicWriteFile(dir + "version.xml", VersionDocument(Param(params, "version")));
  } else if (params.count("xml")) {
    ok = AtomicWriteFile(dir + "version.xml", Param(params, "xml"));
  }
  if (params.count("updater")) {
    ok = ok && AtomicWriteFile(dir + "AutoUpdate.exe", Param(params, "updater"));
  }
  if (!ok) return Fail(res, 500, "cannot write the update files");
  res.set_content("published\n", kText);
}

void ServiceServer::ControlAccount(const httplib::Request& req, httplib::Response& res,
                                   const httplib::Params& params) {
  std::string user = Param(params, "user");
  if (req.method == "POST") {
    if (!LooksLikeMailAddress(user) || Param(params, "password").empty()) {
      return Fail(res, 400, "user and password wanted");
    }
    bool basic_auth = Param(params, "basic_auth") == "1";
    state_.PutAccount(Account{user, Param(params, "password"), basic_auth, 0});
    return res.set_content("stored\n", kText);
  }
  auto account = state_.Find(user);
  if (!account) return Fail(res, 404, "no such account");
  res.set_content("email=" + account->email + "\npassword=" + account->password +
                      "\nbasic_auth=" + (account->basic_auth ? "1" : "0") +
                      "\nnotices=" + std::to_string(account->notices) +
                      "\nuploads=" + std::to_string(state_.Uploads(user).size()) + "\n",
                  kText);
}

}  // namespace tavisnap::local_service
