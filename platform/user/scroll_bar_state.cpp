#include "platform/user/scroll_bar_state.h"

#include <algorithm>
#include <cstdint>

namespace vel::platform {

int ScrollBarState::MaxPos() const {
  std::int64_t last = std::int64_t{max} - std::max<std::int64_t>(std::int64_t{page} - 1, 0);
  return static_cast<int>(std::max<std::int64_t>(last, min));
}

int ScrollBarState::Clamp(int position) const { return std::clamp(position, min, MaxPos()); }

bool ScrollBarState::CanScroll() const {
  std::int64_t span = std::int64_t{max} - min;
  return span > 0 && (page == 0 || std::int64_t{page} <= span);
}

}  // namespace vel::platform
