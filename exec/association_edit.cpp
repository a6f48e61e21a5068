#include "exec/association_edit.h"

#include "config/command_line.h"
#include "exec/association_registry.h"
#include "exec/association_store.h"
#include "os/mbcs.h"
#include "os/path_text.h"
#include "os/services.h"

namespace exec {
namespace {

bool SameNoCase(const std::string& a, const std::string& b) {
  return os::Sys().CompareNoCase(a.c_str(), b.c_str()) == 0;
}

}  // namespace

std::string AssociationNameOf(const table::SM_DAT& d) {
  const char* own = d.link ? d.link->target.c_str() : d.AddressName();
  return own ? std::string(os::FileNamePart(own)) : std::string();
}

bool AssociationKeyFor(const char* fileName, AssociationKind kind, std::string& key) {
  const char* dot = mbcs::FindLastChar(fileName, '.');
  switch (kind) {
    case AssociationKind::kByExtension:
      if (!dot) return false;
      key = dot;
      return true;
    case AssociationKind::kByName:
      key = dot ? std::string(fileName, dot) : std::string(fileName);
      return true;
    case AssociationKind::kByFullName:
      break;
  }
  key = fileName;
  return true;
}

std::string InitialAnswer(const Associations& lists, const FileTypeList& types,
                          const std::string& key, AssociationKind kind) {
  const ExecLinkInfo* current = lists.List(kind).Find(key.c_str());
  if (!current) return std::string();
  if (kind == AssociationKind::kByExtension)
    return current->description.empty() ? current->command : current->description;
  for (const auto& t : types)
    if (SameNoCase(t->command, current->command)) return t->description;
  return current->command;
}

AnswerChoice ResolveAnswer(const char* answer, const FileTypeList& types) {
  AnswerChoice choice;
  const std::string a = answer ? answer : "";
  if (a.empty()) return choice;
  for (const auto& t : types) {
    if (SameNoCase(t->description, a)) {
      choice.type = t.get();
      return choice;
    }
  }
  for (const auto& t : types) {
    std::string program, parameters;
    config::SplitCommandLine(t->command.c_str(), program, parameters);
    if (SameNoCase(program, a)) {
      choice.type = t.get();
      return choice;
    }
  }
  choice.command = a;
  if (!mbcs::FindChar(a.c_str(), '.')) choice.command += ".EXE";
  return choice;
}

void EnsureExtensionRecord(Associations& lists, const std::string& key) {
  if (lists.extensions.Find(key.c_str())) return;
  auto record = std::make_unique<ExecLinkInfo>();
  if (ReadExtensionFromRegistry(key.c_str(), *record)) lists.extensions.Append(std::move(record));
}

StoredAnswer StoreAssociationAnswer(const std::string& configFile, const std::string& key,
                                    AssociationKind kind, const char* answer,
                                    const FileTypeList& types) {
  const AnswerChoice choice = ResolveAnswer(answer, types);
  StoredAnswer stored;
  if (choice.type && kind == AssociationKind::kByExtension) {
    stored.result = WriteExtensionFileType(key.c_str(), choice.type->key.c_str());
    stored.announce = stored.result == 0;
    return stored;
  }
  const std::string& command = choice.type ? choice.type->command : choice.command;
  stored.result = SetAssociation(configFile, key.c_str(), command.c_str(), kind);
  return stored;
}

}  // namespace exec
