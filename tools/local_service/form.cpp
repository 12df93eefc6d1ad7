#include "form.h"

#include <filesystem>

namespace tavisnap::local_service {

const FormPart* Form::Find(std::string_view name) const {
  for (const FormPart& part : parts) {
    if (part.name == name) return &part;
  }
  return nullptr;
}

std::string Form::Text(std::string_view name) const {
  const FormPart* part = Find(name);
  return part && !part->is_file ? part->content : std::string();
}

void Form::RemoveSpoolFiles() {
  for (FormPart& part : parts) {
    if (part.spool_path.empty()) continue;
    std::error_code ignored;
    std::filesystem::remove(part.spool_path, ignored);
    part.spool_path.clear();
  }
}

}  // namespace tavisnap::local_service
