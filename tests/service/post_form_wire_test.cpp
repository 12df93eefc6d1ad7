// The request PostForm puts on the wire, read back from the service's raw record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "service/post_form.h"
#include "service_test_base.h"

namespace tavisnap::testing {
namespace {

struct RawPart {
  std::vector<std::string> headers;
  std::string content;
};

struct RawRequest {
  std::string request_line;
  std::vector<std::string> headers;
  std::string body;

  std::string Header(const std::string& name) const {
    for (const std::string& h : headers) {
      if (h.rfind(name + ":", 0) == 0) return h.substr(name.size() + 1);
    }
    return "(none)";
  }
};

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

RawRequest ParseRequest(const std::string& raw) {
  RawRequest request;
  size_t end = raw.find("\r\n\r\n");
  std::vector<std::string> lines = SplitLines(raw.substr(0, end));
  if (end == std::string::npos || lines.empty()) return request;
  request.request_line = lines[0];
  request.headers.assign(lines.begin() + 1, lines.end());
  request.body = raw.substr(end + 4);
  return request;
}

std::string Boundary(const RawRequest& request) {
  std::string type = request.Header("Content-Type");
  size_t at = type.find("boundary=");
  return at == std::string::npos ? std::string() : type.substr(at + 9);
}

// The parts between "--B" lines; fails the test when the body does not end in "--B--".
std::vector<RawPart> SplitParts(const std::string& body, const std::string& boundary) {
  std::vector<RawPart> parts;
  std::string closing = "--" + boundary + "--\r\n";
  EXPECT_GE(body.size(), closing.size());
  EXPECT_EQ(body.substr(body.size() - std::min(body.size(), closing.size())), closing);
  std::string delimiter = "--" + boundary + "\r\n";
  size_t at = 0;
  while (body.compare(at, delimiter.size(), delimiter) == 0) {
    size_t head_end = body.find("\r\n\r\n", at);
    size_t next = body.find("\r\n--" + boundary, head_end);
    if (head_end == std::string::npos || next == std::string::npos) break;
    RawPart part;
    part.headers = SplitLines(body.substr(at + delimiter.size(), head_end - at - delimiter.size()));
    part.content = body.substr(head_end + 4, next - head_end - 4);
    parts.push_back(part);
    at = next + 2;
  }
  EXPECT_EQ(body.substr(at), closing) << "parts did not end in the closing boundary";
  return parts;
}

using PostFormWireTest = ServiceTest;

TEST_F(PostFormWireTest, PartsGoInFormOrderWithTheirHeaders) {
  TempDir folder;
  std::string picture_bytes("\xFF\xD8\r\n--not-a-boundary\r\n\0\x01jpeg", 25);
  std::string picture = folder.Write("画像 1.JPG", picture_bytes);
  std::string data = folder.Write("data.bin", "DATA");
  TTypFormDataArray form = {Text("txtEmailTo[0]", "to@example.jp"),
                            Text("txtMessage", "日本語の本文"),
                            {2, "ignored", "x"},
                            File("fileCapUp[0]", picture),
                            File("other", data),
                            Text("SubmitCapUpComp", "1")};
  PostForm(Service().ActionUrl(), form);

  RawRequest request = ParseRequest(Service().LastRequest());
  EXPECT_EQ(request.request_line, "POST /action.php HTTP/1.1");
  EXPECT_EQ(request.Header("Content-Type").rfind(" multipart/form-data; boundary=", 0), 0u);
  EXPECT_EQ(request.Header("Cookie"), "");
  std::vector<RawPart> parts = SplitParts(request.body, Boundary(request));
  ASSERT_EQ(parts.size(), 5u);

  using Lines = std::vector<std::string>;
  EXPECT_EQ(parts[0].headers, Lines{"Content-Disposition: form-data; name=\"txtEmailTo[0]\""});
  EXPECT_EQ(parts[0].content, "to@example.jp");
  EXPECT_EQ(parts[1].headers, Lines{"Content-Disposition: form-data; name=\"txtMessage\""});
  EXPECT_EQ(parts[1].content, "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x96\x7B\x95\xB6");
  // The whole local path, in code page 932 ("画像" is 89 E6 91 9C).
  std::string wire_path = folder.str() + "/\x89\xE6\x91\x9C 1.JPG";
  EXPECT_EQ(parts[2].headers,
            (Lines{"Content-Disposition: form-data; name=\"fileCapUp[0]\"; filename=\"" +
                       wire_path + "\"",
                   "Content-Type: image/jpeg"}));
  EXPECT_EQ(parts[2].content, picture_bytes);
  EXPECT_EQ(parts[3].headers,
            (Lines{"Content-Disposition: form-data; name=\"other\"; filename=\"" + data + "\"",
                   "Content-Type: application/octet-stream"}));
  EXPECT_EQ(parts[3].content, "DATA");
  EXPECT_EQ(parts[4].headers, Lines{"Content-Disposition: form-data; name=\"SubmitCapUpComp\""});
  EXPECT_EQ(parts[4].content, "1");
}

TEST_F(PostFormWireTest, FormWithoutPartsIsStillPosted) {
  for (const TTypFormDataArray& form : {TTypFormDataArray{}, TTypFormDataArray{{7, "x", "y"}}}) {
    size_t before = Service().RequestIds().size();
    HttpResult result = PostForm(Service().ActionUrl(), form);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.body, "0");  // the service's "no command"
    ASSERT_EQ(Service().RequestIds().size(), before + 1);
    RawRequest request = ParseRequest(Service().LastRequest());
    EXPECT_EQ(request.request_line, "POST /action.php HTTP/1.1");
    std::string boundary = Boundary(request);
    ASSERT_FALSE(boundary.empty());
    EXPECT_EQ(request.body, "--" + boundary + "--\r\n");
  }
}

}  // namespace
}  // namespace tavisnap::testing
