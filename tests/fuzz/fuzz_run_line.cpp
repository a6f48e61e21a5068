// Fuzzes the composition of run lines with appended names: a command, text written after it,
// a directory prefix, selected or dropped names, raw or as file names hold them.
// Checked: the line is refused as too long exactly when command and written text exceed the
// limit; a name that would break the line (double quote, control character, a lead byte
// without its trail byte, a batch file's special character) refuses the start, naming the first
// one; otherwise the line never exceeds the limit, keeps the written text byte for byte, holds
// its double quotes in pairs, never splits a double-byte character of whole-character input,
// and its appended part splits back into exactly the names appended, none of them giving a
// batch file a character of the command interpreter.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/command_line.h"
#include "exec/run_line.h"
#include "os/mbcs.h"
#include "tests/fuzz/cp932_text.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& line = std::string()) {
  std::fprintf(stderr, "fuzz_run_line: %s [%s]\n", what, line.c_str());
  std::abort();
}

// What may go on a line for the program, decided here byte by byte on its own.
exec::NameRefusal Expected(const std::string& text, bool batch) {
  bool special = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == '"') return exec::NameRefusal::kUnsafeCharacter;
    if (mbcs::IsLeadByte(c)) {
      if (i + 1 == text.size() || !fuzztext::IsTrail(static_cast<unsigned char>(text[i + 1])))
        return exec::NameRefusal::kUnsafeCharacter;
      ++i;
      continue;
    }
    if (c == '&' || c == '|' || c == '<' || c == '>' || c == '^' || c == '%') special = true;
  }
  return batch && special ? exec::NameRefusal::kBatchCharacter : exec::NameRefusal::kNone;
}

std::string Text(FuzzedDataProvider& in, size_t most, bool asName) {
  std::string raw = in.ConsumeRandomLengthString(most);
  raw = raw.c_str();  // lines and names end at a NUL
  return asName ? fuzztext::AsName(raw) : raw;
}

bool HasBatchSpecial(const std::string& text) {
  for (const char* p = text.c_str(); *p; p = mbcs::Next(p))
    switch (*p) {
      case '&': case '|': case '<': case '>': case '^': case '%': return true;
      default: break;
    }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool win32 = in.ConsumeBool();
  const bool drop = in.ConsumeBool();
  const bool rawNames = in.ConsumeIntegralInRange<int>(0, 3) == 0;
  // Programs worth reaching: a batch file, the interpreter, the semicolon-list program.
  static const char* const kPrograms[] = {"", "run.bat ", "\"C:\\a b\\x.CMD\" ", "cmd /c ",
                                          "C:\\t\\HIDEMANU.EXE "};
  exec::RunLine run;
  run.command = kPrograms[in.ConsumeIntegralInRange<size_t>(0, 4)] + Text(in, 1100, false);
  run.written = Text(in, 400, false);
  const std::string prefix = Text(in, 64, !rawNames);
  std::vector<std::string> names;
  while (names.size() < 100 && in.remaining_bytes() > 0) names.push_back(Text(in, 300, !rawNames));
  std::vector<exec::SelectedFile> selected;
  for (const std::string& n : names) {
    const bool link = !n.empty() && n[0] == 'L';
    selected.push_back({n, link, link ? n.substr(1) : std::string()});
  }

  exec::ComposedLine out;
  const exec::ComposeResult result = exec::ComposeRunWithFiles(
      run, [win32](const std::string&) { return win32; }, selected, prefix,
      drop ? &names : nullptr, out);
  if (out.line.size() > exec::kMaxCommandLine) Fail("line over the limit", out.line);
  const bool tooLong = run.command.size() + run.written.size() > exec::kMaxCommandLine;
  if ((result == exec::ComposeResult::kTooLong) != tooLong) Fail("length judged wrongly");
  if (tooLong) {
    if (!out.line.empty()) Fail("a line too long was composed");
    return 0;
  }

  // The line before the names, by hand.
  std::string pre = run.command;
  exec::QuoteMode mode = exec::BlankPlaceholders(pre);
  pre += run.written;
  std::string program, parameters;
  config::SplitCommandLine(pre.c_str(), program, parameters);
  if (mode == exec::QuoteMode::kAlways) mode = exec::ModeForProgram(mode, win32, program);
  const bool batch = exec::IsBatchProgram(program);

  std::vector<std::string> texts;  // what each name appends, in order
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string text = drop ? names[i]
                             : selected[i].isLink ? selected[i].target
                                                  : prefix + selected[i].name;
    if (!text.empty()) texts.push_back(text);
  }
  for (const std::string& text : texts) {
    const exec::NameRefusal why = Expected(text, batch);
    if (why == exec::NameRefusal::kNone) continue;
    if (result != exec::ComposeResult::kRefused) Fail("unsafe name appended", text);
    if (out.refusal != why || out.refusedName != text) Fail("wrong name refused", text);
    if (!out.line.empty()) Fail("refused line not empty");
    if (exec::RefusalMessage(why, text).empty()) Fail("refusal without a message");
    return 0;
  }
  if (result != exec::ComposeResult::kComposed) Fail("safe names refused");

  const std::string& line = out.line;
  if (line.compare(0, pre.size(), pre) != 0) Fail("written text changed", line);
  size_t quotes = 0;
  for (char c : line) quotes += c == '"';
  if (quotes % 2 != 0 && pre.size() < exec::kMaxCommandLine) Fail("quotes unbalanced", line);
  if (fuzztext::IsValidText(pre) && fuzztext::IsValidText(prefix) && !fuzztext::IsValidText(line))
    Fail("double-byte character split", line);

  // The names part: the same appending on the line with an open quote closed gives the line.
  size_t preQuotes = 0;
  for (char c : pre) preQuotes += c == '"';
  std::string closed = pre;
  if (preQuotes % 2 != 0 && pre.size() < exec::kMaxCommandLine) closed += '"';
  std::string again = closed;
  const int count = drop ? exec::AppendDroppedFiles(again, exec::kMaxAppendedFiles, names, mode)
                         : exec::AppendSelectedFiles(again, exec::kMaxAppendedFiles, selected,
                                                     prefix, mode);
  if (again != line) Fail("composition differs", line);
  const std::string suffix = line.substr(closed.size());
  if (batch && HasBatchSpecial(suffix)) Fail("batch special character appended", line);
  if (count == 0) return 0;
  bool leadingBlank = false;
  for (int i = 0; i < count; ++i) leadingBlank |= texts[i][0] == ' ';
  if (mode == exec::QuoteMode::kSemicolonList && !drop) {
    std::string expected = " ";
    for (int i = 0; i < count; ++i) expected += (i ? ";\"" : "\"") + texts[i] + "\"";
    if (suffix != expected) Fail("semicolon list does not give the names back", line);
    return 0;
  }
  // The program's splitter skips blanks after an opening quote: a name that starts with one
  // is not compared.
  if (leadingBlank) return 0;
  const std::vector<std::string> want(texts.begin(), texts.begin() + count);
  if (config::CommandLineTokens(suffix.c_str()) != want) Fail("names not given back", line);
  return 0;
}
