// bmp_seed_writer [folder]
//
// Prints the table of BMP cases with each outcome of DecodeBmp; with a folder, also writes
// every case there as a file (the fuzzer's seed corpus).
#include <cstdio>
#include <fstream>
#include <string>

#include "core/app_error.h"
#include "imaging/bmp_codec.h"
#include "imaging/bmp_test_files.h"

int main(int argc, char** argv) {
  int index = 0;
  for (const tavisnap::testing::BmpCase& c : tavisnap::testing::BmpCases()) {
    std::string outcome;
    try {
      tavisnap::Picture p = tavisnap::DecodeBmp(c.bytes);
      outcome = "opened " + std::to_string(p.Width()) + "x" + std::to_string(p.Height());
    } catch (const tavisnap::AppError& e) {
      outcome = std::string("refused: ") + e.what();
    }
    std::printf("| %s | %zu | %s |\n", c.name.c_str(), c.bytes.size(), outcome.c_str());
    if (argc > 1) {
      std::ofstream(std::string(argv[1]) + "/case" + std::to_string(index) + ".bmp",
                    std::ios::binary)
          << c.bytes;
    }
    ++index;
  }
}
