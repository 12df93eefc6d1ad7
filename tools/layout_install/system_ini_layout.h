// The installed system.ini and readme.txt: the files of dist/ in code page 932 with CR LF,
// with the deployment keys of the installation written into section SYSTEM.
//
// The keys are edited on the file's bytes, line by line: every other byte of a file the
// user already has (address book, account, comments, characters whose code page 932 form
// differs between converters) stays as it is.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavisnap::layout {

// Bad input (a value the program would not take as given); the message says which.
class LayoutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What an installation is pointed at; an empty value leaves the file's keys alone.
struct DeploymentKeys {
  std::string serviceUrl;  // SERVICE_URL, https and ending in "/"; HOME_URL, UPDATE_URL follow
  std::string caFile;      // CA_FILE, a Windows path, UTF-8
};

// One "KEY=value" line of section SYSTEM, value in code page 932.
using SystemLine = std::pair<std::string, std::string>;

// The SYSTEM lines the keys stand for: SERVICE_URL=url, HOME_URL=url without its last "/",
// UPDATE_URL=url + "update/", CA_FILE=path. Throws LayoutError for a service URL the
// program would replace by its default, and for a CA_FILE with control characters, blanks
// at either end (the program trims them) or characters code page 932 lacks.
std::vector<SystemLine> DeploymentLines(const DeploymentKeys& keys);

// system.ini bytes (code page 932) with each line's key set: the first line of section
// SYSTEM with that key (without regard to case) becomes "KEY=value"; a key the section
// lacks goes after its last line that is no blank or comment; without a SYSTEM section
// one is added at the end. Lines are split as the program splits them (CR LF, LF or a
// lone CR) and all end in CR LF afterwards; their bytes stay otherwise.
std::string SetSystemLines(std::string_view iniCp932, const std::vector<SystemLine>& lines);

// A dist/ text file (UTF-8, LF) as installed: code page 932, CR LF. Throws LayoutError when
// the text is not UTF-8 or holds characters code page 932 lacks.
std::string InstalledText(std::string_view utf8);

}  // namespace tavisnap::layout
