#include "os/posix/wildcard_match.h"

#include <cstring>
#include <vector>

namespace os::posix {
namespace {

constexpr uint16_t kDosStar = '<';
constexpr uint16_t kDosQm = '>';
constexpr uint16_t kDosDot = '"';

// Mask characters that may match nothing at the end of a name.
bool MatchesEmptyTail(uint16_t c) { return c == '*' || c == kDosStar || c == kDosDot || c == kDosQm; }

// A run of units that a Matcher reads (a view of a stack buffer or of a Units).
class UnitSpan {
 public:
  UnitSpan(const uint16_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t size() const { return size_; }
  uint16_t operator[](std::size_t i) const { return data_[i]; }

 private:
  const uint16_t* data_;
  std::size_t size_;
};

// One match of a folded name against a folded mask, memoised on (name position, mask
// position) so that masks such as "*a*a*a*b" stay polynomial.
class Matcher {
 public:
  // memo: (name.size() + 1) * (mask.size() + 1) bytes, all kUnknown.
  Matcher(UnitSpan name, UnitSpan mask, uint8_t* memo) : n_(name), m_(mask), memo_(memo) {}

  static constexpr uint8_t kUnknown = 0;

  bool Match(std::size_t ni, std::size_t mi) {
    uint8_t& slot = memo_[ni * (m_.size() + 1) + mi];
    if (slot == kUnknown) slot = Compute(ni, mi) ? kYes : kNo;
    return slot == kYes;
  }

 private:
  static constexpr uint8_t kYes = 1, kNo = 2;

  bool TailMatchesEmpty(std::size_t mi) const {
    while (mi < m_.size() && MatchesEmptyTail(m_[mi])) ++mi;
    return mi == m_.size();
  }

  bool Compute(std::size_t ni, std::size_t mi) {
    const std::size_t nEnd = n_.size(), mEnd = m_.size();
    if (mi == mEnd) return ni == nEnd;
    if (ni == nEnd) return TailMatchesEmpty(mi);
    const uint16_t c = m_[mi];
    switch (c) {
      case '*': {
        std::size_t next = mi;
        while (next < mEnd && m_[next] == '*') ++next;
        if (next == mEnd) return true;
        for (std::size_t k = ni; k <= nEnd; ++k)
          if (Match(k, next)) return true;
        return false;
      }
      case kDosStar: {
        // Any run of characters that does not go past the last dot of the rest of the name.
        std::size_t lastDot = nEnd;
        for (std::size_t k = ni; k < nEnd; ++k)
          if (n_[k] == '.') lastDot = k;
        std::size_t limit = (lastDot == nEnd || lastDot + 1 == nEnd) ? nEnd : lastDot;
        for (std::size_t k = ni; k <= limit; ++k)
          if (Match(k, mi + 1)) return true;
        return false;
      }
      case '?':
        return Match(ni + 1, mi + 1);
      case kDosQm:
        if (n_[ni] != '.') return Match(ni + 1, mi + 1);
        {
          // At a dot DOS_QM matches nothing, unless only DOS_QMs are left: then the dot too.
          std::size_t next = mi;
          while (next < mEnd && m_[next] == kDosQm) ++next;
          return next == mEnd ? Match(ni + 1, next) : Match(ni, next);
        }
      default: {
        const uint16_t want = (c == kDosDot) ? '.' : c;
        return n_[ni] == want && Match(ni + 1, mi + 1);
      }
    }
  }

  UnitSpan n_;
  UnitSpan m_;
  uint8_t* memo_;
};

}  // namespace

bool HasWildcards(std::string_view mask) {
  for (uint16_t u : ToUnits(mask))
    if (u == '*' || u == '?' || u == kDosStar || u == kDosQm) return true;
  return false;
}

WildcardMask::WildcardMask(std::string_view typed) {
  Units m = ToUnits(typed);
  if (m.empty()) return;
  const bool noExtension = m.back() == '.';
  while (!m.empty() && (m.back() == '.' || m.back() == ' ')) m.pop_back();
  for (std::size_t i = 0; i < m.size(); ++i) {
    if (m[i] == '.' && i + 1 < m.size() && (m[i + 1] == '*' || m[i + 1] == '?'))
      m[i] = kDosDot;
    else if (m[i] == '?')
      m[i] = kDosQm;
  }
  if (noExtension && !m.empty() && m.back() == '*') m.back() = kDosStar;
  for (auto& u : m) u = FoldUnit(u);
  // A leading "*" can take the whole name, and what follows it can match nothing at the end
  // of a name: every name matches ("*", "*.*", "*.*.*", "*?", "**.").
  matchesAll_ = !m.empty() && m[0] == '*';
  for (std::size_t i = 1; i < m.size(); ++i) matchesAll_ = matchesAll_ && MatchesEmptyTail(m[i]);
  mask_ = std::move(m);
}

bool WildcardMask::Matches(std::string_view name) const {
  if (matchesAll_) return true;
  if (name == "..") name = ".";
  // Names of this size (any single component) are matched without touching the heap.
  constexpr std::size_t kStackUnits = 512, kStackMemo = 16384;
  uint16_t units[kStackUnits];
  Units spill;
  uint16_t* n = units;
  if (name.size() > kStackUnits) {
    spill.resize(name.size());
    n = spill.data();
  }
  std::size_t count = 0;
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t len = UnitLength(name, i);
    uint16_t u = static_cast<unsigned char>(name[i]);
    if (len == 2) u = static_cast<uint16_t>(u << 8 | static_cast<unsigned char>(name[i + 1]));
    n[count++] = FoldUnit(u);
    i += len;
  }
  const std::size_t memoSize = (count + 1) * (mask_.size() + 1);
  uint8_t stackMemo[kStackMemo];
  std::vector<uint8_t> heapMemo;
  uint8_t* memo = stackMemo;
  if (memoSize > kStackMemo) {
    heapMemo.resize(memoSize);
    memo = heapMemo.data();
  }
  std::memset(memo, Matcher::kUnknown, memoSize);
  return Matcher(UnitSpan(n, count), UnitSpan(mask_.data(), mask_.size()), memo).Match(0, 0);
}

}  // namespace os::posix
