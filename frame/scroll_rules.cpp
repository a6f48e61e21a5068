#include "frame/scroll_rules.h"

#include "table/layout_math.h"

namespace frame {

std::optional<ScrollRequest> MapScrollCode(int code, int32_t wordPosition, int32_t trackPosition,
                                           int32_t barPosition, int32_t barMax) {
  auto thumbTo = [&](int32_t position) -> std::optional<ScrollRequest> {
    if (position < 0) position = 0;
    if (position > barMax) position = barMax;
    if (position == barPosition) return std::nullopt;
    return ScrollRequest{table::kThumbTrack, position};
  };
  switch (code) {
    case kCodeLineUp: return ScrollRequest{table::kLineBack, 0};
    case kCodeLineDown: return ScrollRequest{table::kLineForward, 0};
    case kCodePageUp: return ScrollRequest{table::kPageBack, 0};
    case kCodePageDown: return ScrollRequest{table::kPageForward, 0};
    case kCodeThumbTrack: return thumbTo(trackPosition);
    // The message's 16 bits hold the whole position while the range fits in them.
    case kCodeThumbPosition: return thumbTo(barMax <= 0xFFFF ? wordPosition : trackPosition);
    case kCodeTop: return thumbTo(0);
    case kCodeBottom: return thumbTo(barMax);
    default: return std::nullopt;
  }
}

}  // namespace frame
