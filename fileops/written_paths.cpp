#include "fileops/written_paths.h"

#include "os/mbcs.h"
#include "os/services.h"

namespace fileops {

std::string FoldedPath(const std::string& fullPath) {
  // Plain ASCII folds letter by letter; anything else (full-width letters fold too) takes the
  // system's case-blind sort key, whose bytes are equal exactly for texts equal without case.
  std::string out;
  out.reserve(fullPath.size());
  for (unsigned char c : fullPath) {
    if (c >= 0x80) return "\x01" + os::Sys().SortKey(fullPath.c_str());
    out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c));
  }
  return out;
}

const std::string* WrittenPaths::Find(const std::string& fullPath) const {
  if (auto it = files_.find(FoldedPath(fullPath)); it != files_.end()) return &it->second;
  if (trees_.empty()) return nullptr;
  // The path itself and every directory above it, from the nearest.
  std::string p = fullPath;
  for (;;) {
    if (auto it = trees_.find(FoldedPath(p)); it != trees_.end()) return &it->second;
    const char* cut = mbcs::FindLastChar(p.c_str(), '\\');
    if (!cut || cut == p.c_str()) return nullptr;
    p.resize(static_cast<std::size_t>(cut - p.c_str()));
  }
}

bool WrittenPaths::IsFree(const std::string& fullPath, const std::string& source) {
  const std::string* first = Find(fullPath);
  if (!first || *first == source) return true;  // same again: the copy under a move
  refusal_ = Refusal{fullPath, *first, source};
  return false;
}

bool WrittenPaths::Claim(std::unordered_map<std::string, std::string>& into,
                         const std::string& fullPath, const std::string& source) {
  if (!IsFree(fullPath, source)) return false;
  into.emplace(FoldedPath(fullPath), source);
  return true;
}

bool WrittenPaths::ClaimFile(const std::string& fullPath, const std::string& source) {
  return Claim(files_, fullPath, source);
}

bool WrittenPaths::ClaimTree(const std::string& fullPath, const std::string& source) {
  return Claim(trees_, fullPath, source);
}

std::string WrittenTwiceMessage(const WrittenPaths::Refusal& r) {
  return r.first + " と " + r.second + " はどちらも " + r.destination +
         " になります。後の " + r.second + " はコピー・移動せずに残しました";
}

}  // namespace fileops
