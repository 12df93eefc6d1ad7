// The local service's switches (tools/local_service/README.md), set from a Wine test that
// drives the program: every later request of the program meets them.
#pragma once

#include <gtest/gtest.h>

#include "core/define.h"
#include "service/post_form.h"

namespace tavisnap::testing {

// Replaces all switches; without any, the service is back to normal.
inline void SetServiceBehaviour(const TTypFormDataArray& switches) {
  HttpResult result = PostForm(BaseUrl + "_control/behaviour", switches);
  ASSERT_EQ(result.status, 200) << result.body;
}

}  // namespace tavisnap::testing
