// What the update program tests share: control of the local service from inside Wine, and
// the stand-in program that records its runs.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/define.h"
#include "service/http_client_init.h"
#include "service/post_form.h"
#include "support/driver_win.h"
#include "win/text_win.h"

namespace tavisnap::testing {

inline void Control(const std::string& path, const TTypFormDataArray& fields) {
  InitHttpClient();
  CaFile = Env("TAVISNAP_CA_FILE");
  TTypFormDataArray form = fields;
  if (form.empty()) form.push_back({kFormText, "x", "1"});
  ASSERT_TRUE(PostForm(Env("TAVISNAP_SERVICE_URL") + path, form).ok) << path;
}

inline std::string StandInProgram() {
  return ExeDir() + "stand_in_program.exe";
}

// A copy of the stand-in at path; it records its runs in path + ".ran".
inline void CopyStandIn(const std::string& path) {
  ASSERT_TRUE(CopyFileW(Widen(StandInProgram()).c_str(), Widen(path).c_str(), FALSE)) << path;
}

// The runs recorded beside the stand-in at path, once one is written whole (empty after
// 10 s): the stand-in makes the file before it writes its line.
inline std::string WaitForRuns(const std::string& path) {
  std::string runs;
  WaitUntil(
      [&] {
        try {
          runs = FileExists(path + ".ran") ? ReadFileBytes(path + ".ran") : std::string();
        } catch (const std::runtime_error&) {
          runs.clear();
        }
        return !runs.empty() && runs.back() == '\n';
      },
      10s);
  return runs;
}

}  // namespace tavisnap::testing
