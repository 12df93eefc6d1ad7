#include "addressbook/csv_fields.h"

namespace tavisnap {
namespace {

bool IsSkipped(char c) {
  auto b = static_cast<unsigned char>(c);
  return b >= 1 && b <= 32;
}

bool EndsUnquoted(char c) {
  return c == ',' || static_cast<unsigned char>(c) <= 32;
}

// From the opening quote to past the closing one (or to the end when it is missing).
std::string QuotedField(std::string_view line, size_t& pos) {
  std::string field;
  ++pos;
  while (pos < line.size()) {
    char c = line[pos++];
    if (c != '"') {
      field.push_back(c);
    } else if (pos < line.size() && line[pos] == '"') {
      field.push_back('"');
      ++pos;
    } else {
      break;
    }
  }
  return field;
}

}  // namespace

std::vector<std::string> ReadCsvFields(std::string_view line) {
  std::vector<std::string> fields;
  size_t pos = 0;
  auto skip = [&] {
    while (pos < line.size() && IsSkipped(line[pos])) ++pos;
  };
  skip();
  while (pos < line.size()) {
    if (line[pos] == '"') {
      fields.push_back(QuotedField(line, pos));
    } else {
      size_t begin = pos;
      while (pos < line.size() && !EndsUnquoted(line[pos])) ++pos;
      fields.emplace_back(line.substr(begin, pos - begin));
    }
    skip();
    if (pos < line.size() && line[pos] == ',') {
      ++pos;
      if (pos == line.size()) fields.emplace_back();
      skip();
    } else if (pos < line.size() && line[pos] == '\0') {
      ++pos;  // a NUL ends an unquoted field and is no field of its own
    }
  }
  return fields;
}

}  // namespace tavisnap
