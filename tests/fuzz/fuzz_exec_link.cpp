// Fuzzes the associations of [ExecLink] (the composition of run lines: fuzz_run_line).
// Checked: loaded associations are of the kind their key says, never empty, never hold a "^"
// and fit the value buffer; a stored command reads back as it was given (cut at its first line
// break, to 260 bytes and at its first "^").
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "exec/association_store.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  switch (in.ConsumeIntegralInRange<int>(0, 1)) {
    case 0: FuzzSection(in); break;
    default: FuzzStore(in); break;
  }
  return 0;
}
