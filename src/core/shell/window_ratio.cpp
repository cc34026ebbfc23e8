#include "shell/window_ratio.h"

#include "round/round.h"

namespace onefortwo {

std::optional<WindowSize> AspectCorrection(SizeKind kind, int client_width, int client_height,
                                           const Rect& window) {
  if (kind != SizeKind::restored) return std::nullopt;
  if (client_height <= 0 || client_width < 0) return std::nullopt;

  constexpr double kSheetRatio = static_cast<double>(kSheetWidth) / kSheetHeight;
  float w = static_cast<float>(client_width);
  float h = static_cast<float>(client_height);
  const float ratio = w / h;
  if (Round(ratio, 1) == Round(kSheetRatio, 1)) return std::nullopt;

  if (ratio > kSheetRatio) {
    w = h * kSheetWidth * (1.0f / kSheetHeight);  // too wide
  } else {
    h = w * kSheetHeight * (1.0f / kSheetWidth);  // too tall
  }
  const float delta_w = w - static_cast<float>(client_width);
  const float delta_h = h - static_cast<float>(client_height);
  w = static_cast<float>(window.right - window.left) + delta_w;
  h = static_cast<float>(window.bottom - window.top) + delta_h;
  return WindowSize{static_cast<int>(w), static_cast<int>(h)};
}

}  // namespace onefortwo
