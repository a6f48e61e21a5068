// Program associations held by a file table: the record of one association and the three
// lists (by extension, by name, by full name), kept most-recently-used first.
#pragma once
#include <cstddef>
#include <list>
#include <memory>
#include <string>

namespace exec {

// A command line the program composes or runs holds at most 1024 characters; a file is left
// out only when it would make the line longer than that.
constexpr std::size_t kMaxCommandLine = 1024;

enum class AssociationKind : int { kByExtension = 0, kByName = 1, kByFullName = 2 };
constexpr int kAssociationKinds = 3;

// One association. The texts are never null, only empty. When ownsIcons is set, destroying the
// record gives both icons back (table::DestroyIconHandle).
struct ExecLinkInfo {
  ExecLinkInfo() = default;
  ExecLinkInfo(std::string k, std::string c) : key(std::move(k)), command(std::move(c)) {}
  ~ExecLinkInfo();
  ExecLinkInfo(const ExecLinkInfo&) = delete;
  ExecLinkInfo& operator=(const ExecLinkInfo&) = delete;

  void* largeIcon = nullptr;
  void* smallIcon = nullptr;
  bool ownsIcons = false;
  std::string key;          // ".TXT", a base name, a full name, or a registered type's name
  std::string command;      // the program's command line, cut at the first "^"
  std::string description;  // the file type's description
  std::string verb;         // the file type's default verb, when the registry names one

  // Kept by the list that holds the record (its key does not change there): the key with its
  // letters folded when it is printable ASCII without double quotes, so that a lookup compares
  // plain names without the system's comparison.
  bool plainKey = false;
  std::string foldedKey;
};

// lstrcmpiA of a and b; when they differ, compared again with one leading double quote skipped
// and everything from the next double quote on ignored in both, so "NOTEPAD.EXE" in quotes
// equals notepad.exe. Negative, 0 or positive.
int SameFileName(const char* a, const char* b);
// SameFileName(a, b) == 0, answered without the system's comparison when both are printable
// ASCII without double quotes: then lstrcmpiA finds them equal exactly when they differ in the
// case of their letters only.
bool SameFileNameEqual(const char* a, const char* b);

// The text up to its first "^" (a "^" that is a trail byte does not count).
std::string CutAtCaret(const char* text);

// An ordered list of associations that owns its records. Records keep their addresses while
// they are in the list, whatever moves to the front.
class AssociationList {
 public:
  using Items = std::list<std::unique_ptr<ExecLinkInfo>>;

  // The first record whose key equals key by SameFileName, or null.
  ExecLinkInfo* Find(const char* key) const;
  // Find, and the record found becomes the first of the list.
  ExecLinkInfo* FindAndMoveToFront(const char* key);
  ExecLinkInfo& Append(std::unique_ptr<ExecLinkInfo> record);
  ExecLinkInfo& Append(std::string key, std::string command);
  std::size_t Size() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  void Clear() { items_.clear(); }
  Items::const_iterator begin() const { return items_.begin(); }
  Items::const_iterator end() const { return items_.end(); }

 private:
  Items::const_iterator FindItem(const char* key) const;
  Items items_;
};

// The three lists of one file table.
struct Associations {
  AssociationList extensions;  // keys ".TXT": WIN.INI [Extensions], then the registry lazily
  AssociationList names;       // keys without "." from [ExecLink]
  AssociationList fullNames;   // keys with "." from [ExecLink]

  AssociationList& List(AssociationKind kind);
  const AssociationList& List(AssociationKind kind) const;
};

}  // namespace exec
