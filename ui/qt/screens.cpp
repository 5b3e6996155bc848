#include "screens.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "qtplatform.h"
#include "twips.h"

namespace dosat::qt {
namespace {

placement::Area Twips(const QRect& r) {
  return {twips::FromPixels(r.x()), twips::FromPixels(r.y()), twips::FromPixels(r.width()),
          twips::FromPixels(r.height())};
}

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
  return reply ? reply->atom : XCB_ATOM_NONE;
}

// Whether the window manager says, in _NET_SUPPORTED, that it answers `atom`.
bool Supported(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t atom) {
  const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
      connection,
      xcb_get_property(connection, 0, root, Atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 1024),
      nullptr));
  if (!reply || reply->format != 32) return false;
  const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
  const int count = xcb_get_property_value_length(reply.get()) / 4;
  for (int i = 0; i < count; ++i) {
    if (atoms[i] == atom) return true;
  }
  return false;
}

// _NET_FRAME_EXTENTS of `window`: left, right, top, bottom.
std::optional<QMargins> Extents(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t extents) {
  const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr));
  if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16) return std::nullopt;
  const auto* edge = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
  const auto px = [](uint32_t value) { return value > INT_MAX ? 0 : static_cast<int>(value); };
  return QMargins(px(edge[0]), px(edge[2]), px(edge[1]), px(edge[3]));
}

}  // namespace

placement::Monitor MonitorOf(const QScreen& screen) {
  return {Twips(screen.geometry()), Twips(screen.availableGeometry()), twips::FromPixels(1)};
}

QScreen* ScreenNearest(QPoint point) {
  QScreen* nearest = nullptr;
  long best = LONG_MAX;
  for (QScreen* screen : QGuiApplication::screens()) {
    const QRect area = screen->geometry();
    const long dx = point.x() < area.left() ? area.left() - point.x() : std::max(0, point.x() - area.right());
    const long dy = point.y() < area.top() ? area.top() - point.y() : std::max(0, point.y() - area.bottom());
    if (dx * dx + dy * dy < best) {
      best = dx * dx + dy * dy;
      nearest = screen;
    }
  }
  return nearest;
}

// The window manager sets _NET_FRAME_EXTENTS on the window in answer, before it maps it,
// from its own event loop: a few milliseconds at most where it answers at all.
QMargins WindowManagerFrame(QWidget& window) {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return {};
  const auto id = static_cast<xcb_window_t>(window.winId());
  const Reply<xcb_get_geometry_reply_t> geometry(
      xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr));
  if (!geometry) return {};
  const xcb_window_t root = geometry->root;
  const xcb_atom_t extents = Atom(connection, "_NET_FRAME_EXTENTS");
  if (const auto known = Extents(connection, id, extents)) return *known;
  const xcb_atom_t request = Atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
  if (!Supported(connection, root, request)) return {};

  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = id;
  message.type = request;
  xcb_send_event(connection, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
  QElapsedTimer waited;
  waited.start();
  do {
    if (const auto answered = Extents(connection, id, extents)) return *answered;
    QThread::msleep(2);
  } while (waited.elapsed() < 250);
  return {};
}

}  // namespace dosat::qt

namespace dosat {

placement::Monitor QtPlatform::PrimaryMonitor() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? qt::MonitorOf(*screen) : placement::Monitor{};
}

placement::Monitor QtPlatform::MonitorAt(float x, float y) const {
  const QScreen* screen = qt::ScreenNearest(QPoint(twips::ToPixels(x), twips::ToPixels(y)));
  return screen ? qt::MonitorOf(*screen) : placement::Monitor{};
}

}  // namespace dosat
