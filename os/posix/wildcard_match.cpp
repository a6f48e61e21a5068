#include "os/posix/wildcard_match.h"

#include <vector>

namespace os::posix {
namespace {

constexpr uint16_t kDosStar = '<';
constexpr uint16_t kDosQm = '>';
constexpr uint16_t kDosDot = '"';

// Mask characters that may match nothing at the end of a name.
bool MatchesEmptyTail(uint16_t c) { return c == '*' || c == kDosStar || c == kDosDot || c == kDosQm; }

// One match of a folded name against a folded mask, memoised on (name position, mask
// position) so that masks such as "*a*a*a*b" stay polynomial.
class Matcher {
 public:
  Matcher(const Units& name, const Units& mask)
      : n_(name), m_(mask), memo_((name.size() + 1) * (mask.size() + 1), kUnknown) {}

  bool Match(std::size_t ni, std::size_t mi) {
    uint8_t& slot = memo_[ni * (m_.size() + 1) + mi];
    if (slot == kUnknown) slot = Compute(ni, mi) ? kYes : kNo;
    return slot == kYes;
  }

 private:
  static constexpr uint8_t kUnknown = 0, kYes = 1, kNo = 2;

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

  const Units& n_;
  const Units& m_;
  std::vector<uint8_t> memo_;
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
  matchesAll_ = !m.empty();
  for (uint16_t u : m) matchesAll_ = matchesAll_ && u == '*';
  mask_ = std::move(m);
}

bool WildcardMask::Matches(std::string_view name) const {
  if (matchesAll_) return true;
  Units n = ToUnits(name == ".." ? std::string_view(".") : name);
  for (auto& u : n) u = FoldUnit(u);
  return Matcher(n, mask_).Match(0, 0);
}

}  // namespace os::posix
