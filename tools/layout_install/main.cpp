// layout_install: writes the installed system.ini and readme.txt of Tavisnap into a folder.
//   layout_install --dist DIR --dest DIR [--service-url URL] [--ca-file WINDOWS_PATH]
// An existing DEST/system.ini keeps everything but the deployment keys given; otherwise
// it starts from DIST/system.ini. Arguments are taken byte for byte (UTF-8); nothing in
// them is an escape.
#include <filesystem>
#include <iostream>
#include <string>

#include "core/file_util.h"
#include "system_ini_layout.h"

using namespace tavisnap;
using namespace tavisnap::layout;

namespace {

struct Arguments {
  std::string dist, dest;
  DeploymentKeys keys;
};

bool Parse(int argc, char** argv, Arguments& args) {
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string name = argv[i], value = argv[i + 1];
    if (name == "--dist") {
      args.dist = value;
    } else if (name == "--dest") {
      args.dest = value;
    } else if (name == "--service-url") {
      args.keys.serviceUrl = value;
    } else if (name == "--ca-file") {
      args.keys.caFile = value;
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && !args.dist.empty() && !args.dest.empty();
}

std::string Read(const std::string& path) {
  std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) throw LayoutError("cannot read " + path);
  return *bytes;
}

void Write(const std::string& path, const std::string& bytes) {
  if (!AtomicWriteFile(path, bytes)) throw LayoutError("cannot write " + path);
}

void Run(const Arguments& args) {
  std::vector<SystemLine> lines = DeploymentLines(args.keys);  // refuses before writing
  std::string ini = args.dest + "/system.ini";
  std::string readme = InstalledText(Read(args.dist + "/readme.txt"));
  std::string base = std::filesystem::exists(U8Path(ini))
                         ? Read(ini)
                         : InstalledText(Read(args.dist + "/system.ini"));
  std::filesystem::create_directories(U8Path(args.dest));
  Write(ini, SetSystemLines(base, lines));
  Write(args.dest + "/readme.txt", readme);
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!Parse(argc, argv, args)) {
    std::cerr << "usage: layout_install --dist DIR --dest DIR [--service-url URL] "
                 "[--ca-file WINDOWS_PATH]\n";
    return 2;
  }
  try {
    Run(args);
  } catch (const std::exception& e) {
    std::cerr << "layout_install: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
