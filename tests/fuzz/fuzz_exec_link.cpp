// Fuzzes the associations of [ExecLink] and the composition of run lines.
// Checked: loaded associations are of the kind their key says, never empty, never hold a "^"
// and fit the value buffer; a stored command reads back as it was given (cut at its first line
// break, to 260 bytes and at its first "^"); a composed line never exceeds the command-line
// limit, never splits a double-byte character, and splitting it gives back the command's tokens
// followed by the appended names (in the semicolon list, each name whole between its quotes).
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "exec/association_store.h"
#include "config/command_line.h"
#include "exec/run_line.h"
#include "os/mbcs.h"
#include "os/posix/path_map.h"
#include "os/services.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_exec_link: %s\n", what);
  std::abort();
}

// A scratch directory holding the configuration file; also the emulated Windows directory
// (WIN.INI) and registry.
struct Scratch {
  std::string dir, host, win;
  Scratch() {
    char tmpl[] = "/tmp/sorm-fuzz-execlink-XXXXXX";
    if (!mkdtemp(tmpl)) Fail("mkdtemp");
    dir = tmpl;
    host = dir + "/sorm.cfg";
    win = os::posix::ToWinPath(host);
    setenv("SORM_WINDIR", dir.c_str(), 1);
    setenv("SORM_REGISTRY_DIR", dir.c_str(), 1);
  }
};

Scratch& Dir() {
  static Scratch s;
  return s;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) Fail("fopen");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

bool IsTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// Text as a file name can hold it: valid double-byte characters, no quote, no NUL, no blank
// at the start.
std::string AsName(const std::string& raw) {
  std::string out;
  for (size_t i = 0; i < raw.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(raw[i]);
    if (mbcs::IsLeadByte(c)) {
      if (i + 1 < raw.size() && IsTrail(static_cast<unsigned char>(raw[i + 1]))) {
        out += raw[i];
        out += raw[++i];
      }
      continue;
    }
    if (c == '"' || c == 0 || ((c == ' ' || c == '\t') && out.empty())) continue;
    out += raw[i];
  }
  return out;
}

// True when every lead byte of text is followed by a trail byte.
bool IsValidText(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (!mbcs::IsLeadByte(static_cast<unsigned char>(text[i]))) continue;
    if (i + 1 >= text.size() || !IsTrail(static_cast<unsigned char>(text[i + 1]))) return false;
    ++i;
  }
  return true;
}

void CheckLoaded(const exec::Associations& lists) {
  for (exec::AssociationKind kind :
       {exec::AssociationKind::kByExtension, exec::AssociationKind::kByName,
        exec::AssociationKind::kByFullName}) {
    for (const auto& r : lists.List(kind)) {
      if (r->command.empty()) Fail("empty command loaded");
      if (r->command.size() >= exec::kAssociationValueBuffer) Fail("command over the buffer");
      if (mbcs::FindChar(r->command.c_str(), '^')) Fail("caret survived");
      if (kind == exec::AssociationKind::kByExtension) {
        if (r->key.size() < 2 || r->key[0] != '.') Fail("extension key without its dot");
      } else if (exec::KindOfExecLinkKey(r->key.c_str()) != kind) {
        Fail("key in the wrong list");
      }
    }
  }
}

void FuzzSection(FuzzedDataProvider& in) {
  std::string body = in.ConsumeRandomLengthString(4096);
  std::string extensions = in.ConsumeRandomLengthString(1024);
  WriteFile(Dir().host, "[ExecLink]\r\n" + body);
  WriteFile(Dir().dir + "/win.ini", "[Extensions]\r\n" + extensions);
  exec::Associations lists;
  exec::LoadAssociations(lists, Dir().win);
  CheckLoaded(lists);
}

void FuzzStore(FuzzedDataProvider& in) {
  std::string command = in.ConsumeRandomLengthString(600);
  command = command.c_str();
  const std::string stored = exec::ExecLinkValueForStorage(command.c_str());
  if (stored.size() > exec::kMaxStoredCommand + 2) Fail("stored value too long");
  if (stored.find_first_of("\r\n") != std::string::npos) Fail("line break stored");
  WriteFile(Dir().host, "");
  if (exec::SetAssociation(Dir().win, "K", command.c_str(), exec::AssociationKind::kByName) != 0)
    Fail("store failed");
  exec::Associations lists;
  exec::LoadAssociations(lists, Dir().win);
  CheckLoaded(lists);
  // What should come back: the first line, at most 260 bytes, up to its first "^".
  std::string expected = command.substr(0, command.find_first_of("\r\n"));
  char bounded[exec::kMaxStoredCommand + 1];
  size_t n = mbcs::CopyBounded(bounded, sizeof(bounded), expected.c_str());
  expected.assign(bounded, n);
  // The profile functions trim blanks around an unquoted value; only texts without
  // surrounding blanks or control bytes are compared.
  if (!expected.empty() && (static_cast<unsigned char>(expected.front()) <= ' ' ||
                            static_cast<unsigned char>(expected.back()) <= ' '))
    return;
  expected = exec::CutAtCaret(expected.c_str());
  const exec::ExecLinkInfo* r = lists.names.Find("K");
  if (expected.empty()) {
    if (r) Fail("empty command loaded back");
    return;
  }
  if (!r) Fail("stored command lost");
  if (r->command != expected) Fail("stored command changed");
}

void FuzzCompose(FuzzedDataProvider& in) {
  std::string command = in.ConsumeRandomLengthString(1100);
  command = command.c_str();
  const std::string prefix = AsName(in.ConsumeRandomLengthString(64));
  const bool win32 = in.ConsumeBool();
  const bool drop = in.ConsumeBool();
  std::vector<std::string> names;
  while (names.size() < 200 && in.remaining_bytes() > 0) {
    std::string name = AsName(in.ConsumeRandomLengthString(300));
    if (!name.empty()) names.push_back(name);
  }
  std::vector<exec::SelectedFile> selected;
  for (const auto& n : names) selected.push_back({n, false, ""});

  std::string line;
  auto check = [win32](const std::string&) { return win32; };
  const bool composed =
      exec::ComposeRunWithFiles(command.c_str(), check, selected, prefix, drop ? &names : nullptr,
                                line);
  if (composed != (command.size() <= exec::kMaxCommandLine)) Fail("command refused wrongly");
  if (line.size() > exec::kMaxCommandLine) Fail("line over the limit");
  if (!composed) return;

  // The same steps by hand, to learn the mode and how many names went in.
  std::string blanked = command;
  exec::QuoteMode mode = exec::BlankPlaceholders(blanked);
  if (mbcs::FindChar(blanked.c_str(), '^') || mbcs::FindChar(blanked.c_str(), '%'))
    Fail("hint or placeholder left");
  if (mode == exec::QuoteMode::kAlways) {
    std::string program, parameters;
    config::SplitCommandLine(blanked.c_str(), program, parameters);
    mode = exec::ModeForProgram(mode, win32, program);
  }
  std::string again = blanked;
  int count = drop ? exec::AppendDroppedFiles(again, exec::kMaxAppendedFiles, names, mode)
                   : exec::AppendSelectedFiles(again, exec::kMaxAppendedFiles, selected, prefix,
                                               mode);
  if (again != line) Fail("composition differs");
  // Blanking and appending work on whole characters: a line made of whole double-byte
  // characters stays so (a "^" trail byte starts no blanking).
  if (IsValidText(command) && IsValidText(prefix) && !IsValidText(line))
    Fail("double-byte character split");
  if (mode == exec::QuoteMode::kSemicolonList && !drop) {
    // One blank, then each name in double quotes, separated by ";" with none at the end.
    if (count == 0) return;
    std::string suffix = " ";
    for (int i = 0; i < count; ++i)
      suffix += (i ? ";\"" : "\"") + (drop ? names[i] : prefix + names[i]) + "\"";
    if (line.size() < suffix.size() || line.compare(line.size() - suffix.size(), suffix.size(),
                                                    suffix) != 0)
      Fail("semicolon list does not give the names back");
    return;
  }
  if (blanked.find('"') != std::string::npos || !IsValidText(blanked)) return;

  std::vector<std::string> expected = config::CommandLineTokens(blanked.c_str());
  for (int i = 0; i < count; ++i) expected.push_back(drop ? names[i] : prefix + names[i]);
  if (config::CommandLineTokens(line.c_str()) != expected) {
    std::fprintf(stderr, "line [%s]\n", line.c_str());
    for (const auto& t : config::CommandLineTokens(line.c_str())) std::fprintf(stderr, "got [%s]\n", t.c_str());
    for (const auto& t : expected) std::fprintf(stderr, "want [%s]\n", t.c_str());
    Fail("names not given back");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: FuzzSection(in); break;
    case 1: FuzzStore(in); break;
    default: FuzzCompose(in); break;
  }
  return 0;
}
