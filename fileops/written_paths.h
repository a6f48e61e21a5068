// The destinations one command has written, so that it never writes one twice: on a folder
// that tells case apart (`Makefile` and `makefile`), or with two dropped files of one name from
// different folders, both sources lead to one destination, and the second would overwrite the
// first (then a move deletes both sources, and the first file's bytes exist nowhere).
#pragma once
#include <string>
#include <unordered_map>

namespace fileops {

class WrittenPaths {
 public:
  // Records that the command is about to write the file at fullPath from source. False when
  // this command already wrote that path from another source (names compared without regard
  // to case, as the file system does), or a path inside a directory it moved in whole; then
  // nothing is recorded and the refusal is kept (LastRefusal).
  bool ClaimFile(const std::string& fullPath, const std::string& source);
  // Records a directory moved in whole by a rename: nothing below it is written again.
  bool ClaimTree(const std::string& fullPath, const std::string& source);
  // Whether source may still write fullPath, as ClaimFile decides, without recording it.
  bool IsFree(const std::string& fullPath, const std::string& source);

  struct Refusal {
    std::string destination, first, second;  // second is the source that was refused
  };
  const Refusal& LastRefusal() const { return refusal_; }

 private:
  std::unordered_map<std::string, std::string> files_;  // folded path -> source
  std::unordered_map<std::string, std::string> trees_;
  Refusal refusal_;
  const std::string* Find(const std::string& fullPath) const;
  bool Claim(std::unordered_map<std::string, std::string>& into, const std::string& fullPath,
             const std::string& source);
};

// "A と B はどちらも C になります…": the message for a refused second write.
std::string WrittenTwiceMessage(const WrittenPaths::Refusal& refusal);

// The key a path is compared by: the same for two paths that name one file on a file system
// that does not tell case apart.
std::string FoldedPath(const std::string& fullPath);

}  // namespace fileops
