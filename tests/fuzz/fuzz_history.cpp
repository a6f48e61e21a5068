// Fuzzes input histories and the stored form of their answers: the input is a capacity byte
// and answers separated by NUL bytes.
// Checked: the history never holds more answers than its capacity nor one answer twice, the
// newest is the one added last, and its two orders are each other's reverse; every answer
// written to a configuration section (in memory, through the same INI engine as the files)
// holds no line break and no double quote but a wrapping pair, and reads back as the answer
// cut at its first line break and to the longest value a read brings back, with ";" for
// double quotes in both directions.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "exec/history.h"
#include "exec/input_text.h"
#include "os/ini_file.h"
#include "os/ini_profile.h"
#include "tests/fuzz/input_parts.h"

namespace {

namespace ini = os::ini;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_history: %s\n", what);
  std::abort();
}

// What reading the stored answer back must give.
std::string Expected(const std::string& answer) {
  std::string v = exec::CutToBytes(answer.substr(0, answer.find_first_of("\r\n")),
                                   exec::kHistoryValueMax);
  for (char& c : v)
    if (c == ';') c = '"';
  return v;
}

void CheckStorage(const std::string& answer, const std::string& key, ini::Document& doc) {
  const std::string stored = exec::HistoryValueForStorage(answer);
  if (stored.find_first_of("\r\n") != std::string::npos) Fail("a line break is stored");
  const std::size_t quote = stored.find('"');
  if (quote != std::string::npos &&
      (quote != 0 || stored.size() < 2 || stored.find('"', 1) != stored.size() - 1))
    Fail("a double quote is stored outside the wrapping pair");
  if (stored.empty()) return;  // nothing to keep: the history writes no empty value
  std::string edited;
  if (ini::Edit(doc, "History", key.c_str(), stored.c_str(), &edited))
    doc = ini::Document(std::move(edited));
  std::vector<char> buf(exec::kHistoryValueMax + 1);
  const uint32_t n = ini::GetString(&doc, "History", key.c_str(), "", buf.data(),
                                    static_cast<uint32_t>(buf.size()));
  const std::string back = exec::HistoryValueFromStorage(std::string(buf.data(), n));
  if (back != Expected(answer)) Fail("an answer does not read back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 4096) return 0;
  const int capacity = static_cast<int>(data[0] % 12) - 2;  // some zero or below
  std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);

  exec::History h;
  h.SetCapacity(capacity);
  ini::Document file{std::string()};  // the configuration file
  int key = 0;
  while (!in.empty() || key == 0) {
    const std::string answer(fuzzparts::NextPart(in));
    const exec::HistLink* added = h.AddAnswer(answer.c_str());
    const std::vector<std::string> oldest = h.OldestFirst(), newest = h.NewestFirst();
    if (static_cast<int>(oldest.size()) != h.CountAnswers()) Fail("count differs from the list");
    if (h.CountAnswers() > (capacity > 0 ? capacity : 0)) Fail("more answers than the capacity");
    if (std::vector<std::string>(oldest.rbegin(), oldest.rend()) != newest)
      Fail("the orders are not each other's reverse");
    for (std::size_t i = 0; i < oldest.size(); ++i)
      for (std::size_t j = i + 1; j < oldest.size(); ++j)
        if (oldest[i] == oldest[j]) Fail("an answer is held twice");
    if (!answer.empty() && capacity > 0) {
      if (!added || added->Text() != answer || newest.empty() || newest[0] != answer)
        Fail("the answer added is not the newest");
    } else if (added) {
      Fail("an answer was added with no room or no text");
    }
    CheckStorage(answer, std::to_string(key++ % 4), file);
    if (key >= 8) break;
  }
  return 0;
}
