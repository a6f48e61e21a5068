#include "exec/history.h"

#include <string>

#include "config/config_file.h"
#include "config/config_lock.h"
#include "config/program_context.h"
#include "exec/input_text.h"
#include "os/services.h"

namespace exec {

HistLink::HistLink(table::Link* list, std::string text) : table::Link(list), text_(std::move(text)) {
  kind = kAnswerKind;
}

namespace {

HistLink* AsAnswer(table::Link* node) {
  return node->kind == HistLink::kAnswerKind ? static_cast<HistLink*>(node) : nullptr;
}

// Calls fn for every answer, oldest first; fn may delete the node it is given.
template <typename Fn>
void ForEachAnswer(const table::Link& list, Fn fn) {
  if (!list.HasChildren()) return;
  table::Link* first = list.firstChild;
  table::Link* node = first;
  int n = list.ChildCount();
  for (int i = 0; i < n; ++i) {
    table::Link* next = node->next;
    if (HistLink* h = AsAnswer(node)) fn(h);
    node = next;
  }
}

// The bytes the profile functions trim from both ends of a value.
bool IsBlank(char c) { return (c >= 0x09 && c <= 0x0D) || c == ' ' || c == 0x1A; }

// True when the profile functions would not read the value back as written: they strip
// surrounding blanks and one pair of matching quotes.
bool NeedsWrapping(const std::string& v) {
  if (v.empty()) return false;
  if (IsBlank(v.front()) || IsBlank(v.back())) return true;
  return v.size() >= 2 && v.front() == '\'' && v.back() == '\'';
}

}  // namespace

void History::SetCapacity(int capacity) {
  capacity_ = capacity;
  TrimToCapacity();
}

void History::TrimToCapacity() {
  int excess = CountAnswers() - (capacity_ > 0 ? capacity_ : 0);
  ForEachAnswer(list_, [&](HistLink* h) {
    if (excess > 0) {
      delete h;
      --excess;
    }
  });
}

HistLink* History::AddAnswer(const char* text) {
  if (!text || !*text) return nullptr;
  ForEachAnswer(list_, [&](HistLink* h) {
    if (h->Text() == text) delete h;
  });
  auto* added = new HistLink(&list_, text);
  TrimToCapacity();
  return capacity_ > 0 ? added : nullptr;
}

int History::CountAnswers() const {
  int n = 0;
  ForEachAnswer(list_, [&](HistLink*) { ++n; });
  return n;
}

std::vector<std::string> History::OldestFirst() const {
  std::vector<std::string> out;
  ForEachAnswer(list_, [&](HistLink* h) { out.push_back(h->Text()); });
  return out;
}

std::vector<std::string> History::NewestFirst() const {
  std::vector<std::string> out = OldestFirst();
  return std::vector<std::string>(out.rbegin(), out.rend());
}

std::string HistoryValueForStorage(const std::string& answer) {
  // A line break would end the line in the file and let the rest pose as keys or sections.
  std::string v = answer.substr(0, answer.find_first_of("\r\n"));
  v = CutToBytes(v, kHistoryValueMax);
  for (char& c : v) {
    if (c == '"') c = ';';
  }
  if (NeedsWrapping(v)) v = '"' + v + '"';
  return v;
}

std::string HistoryValueFromStorage(const std::string& stored) {
  std::string v = stored;
  for (char& c : v) {
    if (c == ';') c = '"';
  }
  return v;
}

namespace {

void ReadSection(History& history, const std::string& section) {
  for (int i = 0;; ++i) {
    std::string key = std::to_string(i);
    std::string v = config::ReadConfigString(section, key.c_str(), "", kHistoryValueMax + 1);
    if (v.empty()) break;
    history.AddAnswer(HistoryValueFromStorage(v).c_str());
  }
}

void WriteSection(const History& history, const std::string& section) {
  config::ProfileEntries entries;
  for (const std::string& answer : history.OldestFirst()) {
    if (static_cast<int>(entries.size()) >= history.Capacity()) break;
    std::string v = HistoryValueForStorage(answer);
    // An empty value would end the list on reading and hide every newer answer; one that cannot
    // stand in a line is left out rather than refusing the whole list.
    if (v.empty() || !config::IsProfileLineText(v)) continue;
    // Written as it is: the value holds no double quote but the wrapping pair it may need.
    entries.emplace_back(std::to_string(entries.size()), std::move(v));
  }
  // One write of the whole section: a failure leaves the history as it was.
  config::WriteProfileSection(config::Context().configFilePath, section, entries);
}

}  // namespace

bool LoadHistory(History& history, const std::string& section) {
  config::ConfigLock lock = config::AcquireConfigLock();
  if (!lock) return false;
  ReadSection(history, section);
  return true;
}

bool SaveHistory(const History& history, const std::string& section) {
  config::ConfigLock lock = config::AcquireConfigLock();
  if (!lock) return false;
  WriteSection(history, section);
  return true;
}

bool StoreAnswer(History& history, const std::string& section, const char* answer) {
  config::ConfigLock lock = config::AcquireConfigLock();
  if (!lock) return false;
  history.Clear();
  ReadSection(history, section);
  history.AddAnswer(answer);
  WriteSection(history, section);
  return true;
}

}  // namespace exec
