#include "placement.h"

#include <algorithm>
#include <cmath>

namespace dosat::placement {
namespace {

// Where the frame's near edge goes along one axis so that [edge, edge + size] moves as
// little as it must into [start, start + room]; a frame larger than the room starts at
// its start. An edge already inside is kept as it is, to the bit.
float KeepEdge(float edge, float size, float start, float room) {
  if (size >= room || edge < start) return start;
  if (edge + size > start + room) return start + room - size;
  return edge;
}

}  // namespace

Area FrameAt(const Window& window, float left, float top) {
  return {left - window.margins.left, top - window.margins.top, window.frameWidth(), window.frameHeight()};
}

bool Fits(const Area& frame, const Monitor& monitor) {
  const float slack = monitor.pixel / 4;
  const Area& work = monitor.work;
  if (work.width <= 0 || work.height <= 0) return true;  // a platform that cannot tell
  return frame.left >= work.left - slack && frame.top >= work.top - slack &&
         frame.right() <= work.right() + slack && frame.bottom() <= work.bottom() + slack;
}

float FitScale(const Window& window, const Monitor& monitor) {
  const float scale = window.scale > 0 ? window.scale : 1;
  // The client area at the desktop's own scale, and the frame round it, which keeps its size.
  const float clientWidth = window.clientWidth / scale, clientHeight = window.clientHeight / scale;
  const float frameWidth = window.frameWidth() - window.clientWidth;
  const float frameHeight = window.frameHeight() - window.clientHeight;
  const Area& work = monitor.work;
  if (Fits({work.left, work.top, frameWidth + clientWidth, frameHeight + clientHeight}, monitor)) return 1;
  const float half = monitor.pixel / 2;
  float fit = 1;
  if (clientWidth > 0) fit = std::min(fit, (work.width - frameWidth - half) / clientWidth);
  if (clientHeight > 0) fit = std::min(fit, (work.height - frameHeight - half) / clientHeight);
  return std::clamp(fit, kSmallestScale, 1.0f);
}

float RefitScale(const Window& window, const Monitor& monitor) {
  const float fit = FitScale(window, monitor);
  const float scale = window.scale > 0 ? window.scale : 1;
  const Area& work = monitor.work;
  const bool fitsNow = Fits({work.left, work.top, window.frameWidth(), window.frameHeight()}, monitor);
  const float longest = std::max(window.clientWidth, window.clientHeight) / scale;
  return fitsNow && std::abs(fit - scale) * longest < monitor.pixel ? scale : fit;
}

void CentreIn(const Window& window, const Area& work, float& left, float& top) {
  const auto centre = [](float size, float start, float room) {
    return size >= room ? start : start + (room - size) / 2;
  };
  left = centre(window.frameWidth(), work.left, work.width) + window.margins.left;
  top = centre(window.frameHeight(), work.top, work.height) + window.margins.top;
}

void KeepIn(const Window& window, const Area& work, float& left, float& top) {
  const float frameLeft = left - window.margins.left, frameTop = top - window.margins.top;
  const float keptLeft = KeepEdge(frameLeft, window.frameWidth(), work.left, work.width);
  const float keptTop = KeepEdge(frameTop, window.frameHeight(), work.top, work.height);
  if (keptLeft != frameLeft) left = keptLeft + window.margins.left;
  if (keptTop != frameTop) top = keptTop + window.margins.top;
}

}  // namespace dosat::placement
