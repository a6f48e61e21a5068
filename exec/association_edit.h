// The decisions of the association dialog: the key a file is associated under, the answer
// offered first, and what an answer means (a registered file type or a program).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "exec/exec_link_info.h"
#include "table/sm_dat.h"

namespace exec {

using FileTypeList = std::vector<std::unique_ptr<ExecLinkInfo>>;

// The file name an entry is associated under: the last component of the path a link file or
// shortcut leads to (a shortcut's arguments never count), else the name that reaches the entry
// (the alias of a look-alike). Empty when there is none.
std::string AssociationNameOf(const table::SM_DAT& d);

// By extension: from the last "." on (false when the name has none); by name: the name with
// everything from its last "." removed; by full name: the whole name. Double-byte aware.
bool AssociationKeyFor(const char* fileName, AssociationKind kind, std::string& key);

// The key's current association as the dialog shows it: by extension its description, else its
// command; by name or full name the description of the registered type with the same command
// (letter case aside), else the command. Empty when the key has none.
std::string InitialAnswer(const Associations& lists, const FileTypeList& types,
                          const std::string& key, AssociationKind kind);

// What an answer stands for: a registered type whose description is the answer, else one whose
// program (the first token of its command) is the answer; otherwise a command, with ".EXE"
// added when the answer holds no ".". An empty answer removes the association.
struct AnswerChoice {
  const ExecLinkInfo* type = nullptr;
  std::string command;
};
AnswerChoice ResolveAnswer(const char* answer, const FileTypeList& types);

// By extension, an extension the table has not looked up yet is read from the registry into
// the list first, so the dialog offers its current association.
void EnsureExtensionRecord(Associations& lists, const std::string& key);

// Stores the dialog's answer for key. A registered type: by extension the extension is pointed
// at the type, by name or full name the [ExecLink] line gets the type's command. Otherwise the
// answer as a command (SetAssociation; an empty answer removes the association).
// result: 0 or -1; announce: whether the change is to be made known to the shell and every
// window (not after the registry refused a file type).
struct StoredAnswer {
  int result = 0;
  bool announce = true;
};
StoredAnswer StoreAssociationAnswer(const std::string& configFile, const std::string& key,
                                    AssociationKind kind, const char* answer,
                                    const FileTypeList& types);

}  // namespace exec
