// A stand-in for the account window in native tests (message boxes: FakePrompter).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "account/init_view.h"
#include "support/fake_prompter.h"

namespace tavisnap::testing {

class FakeInitView : public InitView {
 public:
  explicit FakeInitView(std::vector<std::string>* log = nullptr) : log_(log) {}

  std::string Text(InitField field) const override {
    auto it = texts.find(field);
    return it == texts.end() ? std::string() : it->second;
  }
  void SetText(InitField field, const std::string& text) override { texts[field] = text; }
  bool AutoLoginChecked() const override { return autoLogin; }
  void SetAutoLoginChecked(bool checked) override { autoLogin = checked; }
  void ShowPage(int p) override {
    page = p;
    Log("page " + std::to_string(p));
  }
  void EnablePageMenuItems(bool enabled) override { pageMenuItems = enabled; }
  void FocusPassword() override { Log("focus password"); }
  bool IsVisible() const override { return visible; }
  void MakeVisible() override {
    visible = true;
    Log("visible");
  }
  void BringToFront() override { Log("front"); }
  void Hide() override {
    visible = false;
    Log("hide");
  }

  std::map<InitField, std::string> texts;
  bool autoLogin = false;
  int page = kPageNewReg;  // as the window is designed
  bool pageMenuItems = true;
  bool visible = false;

 private:
  void Log(const std::string& event) {
    if (log_) log_->push_back(event);
  }
  std::vector<std::string>* log_;
};

}  // namespace tavisnap::testing
