#include "service_server.h"

#include <sys/socket.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>

#include "commands.h"
#include "core/file_util.h"

namespace tavisnap::local_service {
namespace {

constexpr size_t kMaxTextPart = 1 << 20;

constexpr const char* kHelpPage =
    "<!DOCTYPE html>\n<html lang=\"ja\">\n<head><meta charset=\"UTF-8\">"
    "<title>タビスナップ ヘルプ</title></head>\n<body>\n<h1>タビスナップ ヘルプ</h1>\n"
    "<p>ホットキーを押すと画面を撮影し、選んだ相手にメールで送ります。</p>\n"
    "<p>宛先はアドレス帳から選べます。</p>\n</body>\n</html>\n";

constexpr const char* kDefaultVersion = "2.0.1";

Form ReadForm(const httplib::Request& req, const httplib::ContentReader& reader,
              const std::string& spool_dir) {
  Form form;
  if (!req.is_multipart_form_data()) {
    form.complete = reader([](const char*, size_t) { return true; });
    return form;
  }
  auto spool = std::make_shared<std::ofstream>();
  form.complete = reader(
      [&](const httplib::MultipartFormData& header) {
        spool->close();
        FormPart part;
        part.name = header.name;
        part.filename = header.filename;
        part.content_type = header.content_type;
        part.is_file = !header.filename.empty() || !header.content_type.empty();
        if (part.is_file) {
          part.spool_path = spool_dir + "/" + RandomHex(8);
          spool->open(part.spool_path, std::ios::binary);
        }
        form.parts.push_back(std::move(part));
        return !form.parts.back().is_file || spool->good();
      },
      [&](const char* data, size_t size) {
        FormPart& part = form.parts.back();
        part.size += static_cast<int64_t>(size);
        if (part.is_file) {
          return static_cast<bool>(spool->write(data, static_cast<std::streamsize>(size)));
        }
        if (part.content.size() < kMaxTextPart) part.content.append(data, size);
        return true;
      });
  spool->close();
  return form;
}

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

}  // namespace

std::string VersionDocument(const std::string& version) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tavisnap>\n  <update>\n    <version>" +
         version + "</version>\n  </update>\n</tavisnap>\n";
}

void WriteDefaultFiles(const std::string& state_dir, bool replace) {
  std::string update = state_dir + "/update";
  std::filesystem::create_directories(update);
  if (replace || !std::filesystem::exists(update + "/version.xml")) {
    AtomicWriteFile(update + "/version.xml", VersionDocument(kDefaultVersion));
  }
  if (replace || !std::filesystem::exists(update + "/AutoUpdate.exe")) {
    AtomicWriteFile(update + "/AutoUpdate.exe", "placeholder updater of the local service\n");
  }
}

ServiceServer::ServiceServer(ServiceState& state, BehaviourSwitch& behaviour,
                             RequestRecorder& recorder)
    : state_(state), behaviour_(behaviour), recorder_(recorder) {
  // httplib takes an invalid listening socket for a server shutting down and then writes
  // no streamed answer. The listeners here are this program's own, so it gets a stand-in.
  svr_sock_ = ::socket(AF_INET, SOCK_STREAM, 0);
  Post(".*", [this](const httplib::Request& req, httplib::Response& res,
                    const httplib::ContentReader& reader) { OnPost(req, res, reader); });
  Get(".*", [this](const httplib::Request& req, httplib::Response& res) { OnGet(req, res); });
  set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr error) {
        std::string what = "unknown error";
        try {
          std::rethrow_exception(error);
        } catch (const std::exception& e) {
          what = e.what();
        } catch (...) {
        }
        res.status = 500;
        res.set_content("local service: " + what + "\n", "text/plain");
      });
}

void ServiceServer::ServeConnection(httplib::Stream& stream) {
  bool closed = false;
  process_request(stream, true, closed, [](httplib::Request&) {});
}

void ServiceServer::OnPost(const httplib::Request& req, httplib::Response& res,
                           const httplib::ContentReader& reader) {
  Form form = ReadForm(req, reader, state_.Dir() + "/spool");
  // httplib marks a multipart body without parts as bad; to this service it is a form.
  res.status = 200;
  if (req.path.rfind("/_control/", 0) == 0) {
    httplib::Params params = req.params;
    for (const FormPart& part : form.parts) {
      if (!part.is_file) params.emplace(part.name, part.content);
    }
    Control(req, res, params);
  } else {
    Serve(req, res, form);
  }
  form.RemoveSpoolFiles();
}

void ServiceServer::OnGet(const httplib::Request& req, httplib::Response& res) {
  if (req.path.rfind("/_control/", 0) == 0) return Control(req, res, req.params);
  Form none;
  Serve(req, res, none);
}

ServiceServer::Reply ServiceServer::Normal(const httplib::Request& req, Form& form) {
  Reply reply;
  static const std::regex help("/+help\\.html");
  static const std::regex update("/update/(version\\.xml|AutoUpdate\\.exe)");
  if (req.method == "POST" && req.path == "/action.php") {
    Answer answer = RunCommand(state_, form, req.get_header_value("Cookie"));
    reply.body = answer.text;
    reply.cookies = answer.set_cookies;
  } else if (req.method == "GET" && std::regex_match(req.path, help)) {
    reply.body = kHelpPage;
  } else if (auto file = req.method == "GET" && std::regex_match(req.path, update)
                             ? ReadWholeFile(state_.Dir() + req.path)
                             : std::nullopt) {
    reply.body = *file;
    bool xml = req.path.size() > 4 && req.path.substr(req.path.size() - 4) == ".xml";
    reply.type = xml ? "application/xml" : "application/octet-stream";
  } else {
    reply.status = req.path == "/action.php" ? 405 : 404;
    reply.body = reply.status == 405 ? "method not allowed\n" : "not found\n";
  }
  return reply;
}

void ServiceServer::Serve(const httplib::Request& req, httplib::Response& res, Form& form) {
  Behaviour b = behaviour_.Get();
  if (b.delay_ms > 0) behaviour_.Sleep(std::chrono::milliseconds(b.delay_ms));
  Reply reply;
  std::string location = behaviour_.TakeRedirect();
  if (!location.empty()) {
    // The hop's own cookie shows whether a client keeps only the final answer's.
    reply.status = 302;
    res.set_header("Location", location);
    reply.cookies.push_back("redirect-hop=" + std::to_string(++redirects_) + "; path=/");
    reply.body = "redirect\n";
  } else if (b.status != 0 || b.answer) {
    reply.status = b.status != 0 ? b.status : 200;
    reply.body = b.answer ? Repeat(*b.answer, b.answer_repeat) : std::string();
    if (b.replace_cookies) reply.cookies = b.set_cookies;
  } else {
    reply = Normal(req, form);
    if (b.replace_cookies) reply.cookies = b.set_cookies;
  }
  res.status = reply.status;
  for (const std::string& cookie : reply.cookies) res.headers.emplace("Set-Cookie", cookie);
  if (b.stall_after < 0 || static_cast<size_t>(b.stall_after) >= reply.body.size()) {
    res.set_content(reply.body, reply.type);
    return;
  }
  // Status line, headers and the first bytes go out; then the answer stalls and breaks off.
  auto whole = std::make_shared<std::string>(std::move(reply.body));
  size_t sent = static_cast<size_t>(b.stall_after);
  int stall_ms = b.stall_ms;
  res.set_content_provider(whole->size(), reply.type,
                           [this, whole, sent, stall_ms](size_t, size_t, httplib::DataSink& sink) {
                             if (sent > 0) sink.write(whole->data(), sent);
                             behaviour_.Sleep(std::chrono::milliseconds(stall_ms));
                             return false;
                           });
}

}  // namespace tavisnap::local_service
