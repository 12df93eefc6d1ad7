#include "update/about.h"

#include "update/version_info.h"

namespace tavisnap {

std::string HelpPageAddress(const std::string& homeUrl) {
  return homeUrl + "/help.html";
}

std::string ReadmePath(const std::string& appDir) {
  return appDir + "readme.txt";
}

std::string VersionBoxText(const VersionStrings& strings) {
  std::string text = "製品名：" + strings.productName + "　バージョン：" +
                     WithoutLastPart(strings.productVersion) + "\r\n\r\n";
  text += strings.legalCopyright + "\r\n" + std::string(62, '-') + "\r\n";
  text += "タビスナップはデスクトップ画像のスクリーンショットを、\r\n";
  text += "インターネットを利用し簡単操作で相手に見てもらう ASP サービスです。\r\n";
  return text;
}

}  // namespace tavisnap
