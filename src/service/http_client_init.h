// libcurl's process-wide start-up. The program calls it at start, before any other
// thread exists; calling it again does nothing.
#pragma once

namespace tavisnap {

void InitHttpClient();

}  // namespace tavisnap
