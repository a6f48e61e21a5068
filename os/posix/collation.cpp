#include "os/posix/collation.h"

#include <vector>

#include "os/posix/collation_table.h"
#include "os/posix/cp932_units.h"

namespace os::posix {
namespace {

struct Weight {
  uint16_t primary = 0;   // 0: no primary weight (a weightless character)
  uint8_t variant = 0;    // rank inside its primary class
  uint8_t special = 0;    // weight of a weightless character
};

// Weight bands, each keeping the first key byte at 0x02 or above.
constexpr uint16_t kBandListedLow = 0x0200;    // listed classes up to the kanji block
constexpr uint16_t kBandKanji = 0x0500;        // unlisted kanji by code (below 0xF040)
constexpr uint16_t kBandListedMid = 0x6E00;    // listed classes after the kanji block
constexpr uint16_t kBandExtension = 0x7100;    // unlisted codes 0xF040 and up, by code
constexpr uint16_t kBandListedHigh = 0x8200;   // listed classes after 0xFA60
constexpr uint16_t kBandUnknown = 0x9000;      // invalid double-byte codes, stray lead bytes
constexpr uint16_t kLastBeforeKanji = 0x877E;
constexpr uint16_t kLastBeforeExtension = 0xFA60;

class WeightTable {
 public:
  WeightTable() : table_(0x10000), listed_(0x10000) {
    int cls = 0, rank = 0, special = 0;
    bool weightless = true;
    uint16_t band = kBandListedLow;
    int bandStart = 0;
    for (std::size_t i = 0; i < kCollationOrderSize; ++i) {
      const CollationEntry& e = kCollationOrder[i];
      if (i > 0 && e.relation == kNew) {
        ++cls;
        rank = 0;
        weightless = false;
      } else if (i > 0 && e.relation == kSame) {
        ++rank;
        if (weightless) ++special;
      }
      Weight& w = table_[e.code];
      w.primary = weightless ? 0 : static_cast<uint16_t>(band + (cls - bandStart));
      w.variant = static_cast<uint8_t>(rank);
      w.special = weightless ? static_cast<uint8_t>(special + 2) : 0;
      listed_[e.code] = true;
      if (e.code == kLastBeforeKanji || e.code == kLastBeforeExtension) {
        // The next class starts the following band.
        band = e.code == kLastBeforeKanji ? kBandListedMid : kBandListedHigh;
        bandStart = cls + 1;
      }
    }
  }

  Weight Of(uint16_t code) const {
    if (listed_[code]) return table_[code];
    Weight w;
    if (code >= 0x889F && code < 0xF040)
      w.primary = static_cast<uint16_t>(kBandKanji + (code - 0x8800));
    else if (code >= 0xF040)
      w.primary = static_cast<uint16_t>(kBandExtension + (code - 0xF000));
    else if (code >= 0x8100)
      w.primary = static_cast<uint16_t>(kBandUnknown + (code - 0x8100));
    else
      w.primary = static_cast<uint16_t>(kBandUnknown + 0x0800 + code);  // a lone lead byte
    return w;
  }

 private:
  std::vector<Weight> table_;
  std::vector<bool> listed_;
};

const WeightTable& Weights() {
  static const WeightTable t;
  return t;
}

// Full-width katakana for a half-width one that takes a voicing mark; 0 when none.
uint16_t VoicedBase(uint16_t halfWidth, bool semi) {
  static const uint16_t kBase[] = {
      0x834A, 0x834C, 0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358,  // B6-BD
      0x835A, 0x835C, 0x835E, 0x8360, 0x8363, 0x8365, 0x8367,          // BE-C4
  };
  static const uint16_t kHaToHo[] = {0x836E, 0x8371, 0x8374, 0x8377, 0x837A};  // CA-CE
  if (!semi && halfWidth == 0xB3) return 0x8394 - 1;  // U + mark is VU
  if (!semi && halfWidth >= 0xB6 && halfWidth <= 0xC4) return kBase[halfWidth - 0xB6];
  if (halfWidth >= 0xCA && halfWidth <= 0xCE) return kHaToHo[halfWidth - 0xCA];
  return 0;
}

}  // namespace

std::string CollationKey(std::string_view text) {
  const Units units = ToUnits(text);
  const WeightTable& table = Weights();
  std::string primary, variant, special;
  primary.reserve(units.size() * 2);
  for (std::size_t i = 0; i < units.size(); ++i) {
    uint16_t u = units[i];
    Weight w = table.Of(u);
    uint8_t variantByte = static_cast<uint8_t>(2 + 2 * w.variant);
    if (i + 1 < units.size() && (units[i + 1] == 0xDE || units[i + 1] == 0xDF)) {
      const bool semi = units[i + 1] == 0xDF;
      if (uint16_t base = VoicedBase(u, semi)) {
        Weight combined = table.Of(static_cast<uint16_t>(base + (semi ? 2 : 1)));
        w = combined;
        variantByte = static_cast<uint8_t>(3 + 2 * combined.variant);
        ++i;
      }
    }
    if (w.primary == 0) {
      const uint16_t pos = static_cast<uint16_t>(0xFDFF - (i < 0xFDFF ? i : 0xFDFF));
      special += static_cast<char>(pos >> 8);
      special += static_cast<char>(pos & 0xFF);
      special += static_cast<char>(w.special);
      continue;
    }
    primary += static_cast<char>(w.primary >> 8);
    primary += static_cast<char>(w.primary & 0xFF);
    variant += static_cast<char>(variantByte);
  }
  return primary + '\x01' + variant + '\x01' + special;
}

int CompareCollated(const char* a, const char* b) {
  if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
  int c = CollationKey(a).compare(CollationKey(b));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace os::posix
