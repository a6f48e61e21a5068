// The decisions of the association dialog: the key a file is associated under, the answer
// offered first, and what an answer means (a registered file type or a program).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "exec/exec_link_info.h"

namespace exec {

using FileTypeList = std::vector<std::unique_ptr<ExecLinkInfo>>;

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

}  // namespace exec
