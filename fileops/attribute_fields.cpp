#include "fileops/attribute_fields.h"

#include "os/mbcs.h"

namespace fileops {

std::string AttributeFieldText(const std::string& value) {
  char buffer[kAttributeFieldBytes + 1];
  const std::size_t n = mbcs::CopyBounded(buffer, sizeof(buffer), value.c_str());
  return std::string(buffer, n);
}

bool AttributeFieldChanged(const std::string& value, const std::string& returned) {
  return returned != AttributeFieldText(value);
}

}  // namespace fileops
