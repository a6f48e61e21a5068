#include "fileops/attribute_fields.h"

#include "os/mbcs.h"
#include "os/path_text.h"

namespace fileops {

std::string AttributeFieldText(const std::string& value) {
  char buffer[kAttributeFieldBytes + 1];
  const std::size_t n = mbcs::CopyBounded(buffer, sizeof(buffer), value.c_str());
  return std::string(buffer, n);
}

bool AttributeFieldChanged(const std::string& value, const std::string& returned) {
  return returned != AttributeFieldText(value);
}

const char* AttributeFieldRefusal(AttributeField field, const std::string& returned) {
  if (os::FitsBuffer(returned, kAttributeFieldBytes + 1)) return nullptr;
  switch (field) {
    case AttributeField::kName: return "名前が長すぎます";
    case AttributeField::kDate: return "日付が長すぎます";
    case AttributeField::kTime: return "時刻が長すぎます";
    case AttributeField::kTarget: return "リンク先名が長すぎます";
    case AttributeField::kWorkingDirectory: return "作業ディレクトリ名が長すぎます";
  }
  return "入力が長すぎます";
}

}  // namespace fileops
