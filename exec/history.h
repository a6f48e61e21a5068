// Input histories: the earlier answers to one kind of question, offered again in the drop-down
// of the input dialogs and shared by every window through a section of the configuration file.
//
// Stored form: one section per kind of question, keys "0", "1", ... without gaps, "0" the oldest
// answer. A double quote of an answer is written as ";" (the profile functions strip quotes), and
// every ";" read back becomes a double quote. Every load and every save holds the configuration
// lock; nothing is held between them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "table/link.h"

namespace exec {

// One remembered answer: a node of the history's list, owning its text.
class HistLink : public table::Link {
 public:
  static constexpr int32_t kAnswerKind = 100;
  HistLink(table::Link* list, std::string text);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

class History {
 public:
  static constexpr int kDefaultCapacity = 20;

  History() = default;
  History(const History&) = delete;
  History& operator=(const History&) = delete;

  int Capacity() const { return capacity_; }
  // The most answers kept; oldest answers beyond it go at once.
  void SetCapacity(int capacity);

  // Ignores an empty text; removes every entry equal to it (case counts); appends it as the
  // newest; then drops oldest entries while there are more than the capacity. The new entry,
  // or null when nothing was added (empty text, or no room at all).
  HistLink* AddAnswer(const char* text);
  int CountAnswers() const;
  // The answers, oldest first (stored order) or newest first (drop-down order).
  std::vector<std::string> OldestFirst() const;
  std::vector<std::string> NewestFirst() const;
  void Clear() { list_.DestroyChildren(); }

 private:
  void TrimToCapacity();
  table::Link list_;
  int capacity_ = kDefaultCapacity;
};

// The longest answer value read back from the configuration file (a 1024-byte buffer).
constexpr std::size_t kHistoryValueMax = 1023;

// An answer as written to the configuration file: cut at a line break and to what a read brings
// back whole, double quotes as ";", and inside one pair of double quotes when surrounding blanks
// or quotes would otherwise be stripped on reading.
std::string HistoryValueForStorage(const std::string& answer);
// An answer as read back: every ";" becomes a double quote.
std::string HistoryValueFromStorage(const std::string& stored);

// Both return false when the configuration lock could not be had; the caller tells the user
// ("Lock error"). Loading then leaves the history as it was; saving writes nothing.
// Loading adds keys "0", "1", ... up to the first missing or empty one.
bool LoadHistory(History& history, const std::string& section);
// Rewrites the whole section from the oldest answer on.
bool SaveHistory(const History& history, const std::string& section);
// What an input dialog does with its answer on OK: under one hold of the lock, reloads the
// section into history (answers other windows stored while the dialog was open stay), adds the
// answer and rewrites the section. An empty answer adds nothing but the section is rewritten.
bool StoreAnswer(History& history, const std::string& section, const char* answer);

}  // namespace exec
