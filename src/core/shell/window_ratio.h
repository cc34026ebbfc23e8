#pragma once

#include <optional>

#include "paint/diagram_layout.h"
#include "platform/station_windows.h"

namespace onefortwo {

// The main window keeps its client area near the ratio of the diagram's design sheet,
// kSheetWidth x kSheetHeight layout units.

// How the window system last sized the main window.
enum class SizeKind { restored, minimised, maximised };

// An outer window size in pixels, frame included.
struct WindowSize {
  int width = 0;
  int height = 0;
  bool operator==(const WindowSize& o) const { return width == o.width && height == o.height; }
};

// The aspect rule of the main window after a resize. `client_width` x `client_height` is
// the client area now (pixels) and `window` the outer rectangle around it. Returns the
// outer size the window must take, top-left corner unchanged, so that its client comes to
// 260:190; or nothing when the size is to be left alone:
// - the window is maximised or minimised;
// - the client has no height (the ratio is undefined);
// - the client's ratio, rounded half away from zero to one decimal, is 1.4 like the
//   sheet's (roughly 1.35 to 1.45).
// A window that is too wide loses width, one that is too tall loses height; the frame
// keeps its size. Sizes are worked in float and truncated toward zero once, so a
// correction always makes one side smaller by at least one pixel and a second pass finds
// the ratio accepted.
std::optional<WindowSize> AspectCorrection(SizeKind kind, int client_width, int client_height,
                                           const Rect& window);

}  // namespace onefortwo
