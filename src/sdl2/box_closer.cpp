// The message box closer, on XCB: a connection of its own (XCB reports errors to
// the caller, so a window that vanishes midway ends nothing), the box found by its
// _NET_WM_NAME and, through the X-Resource extension, by this process's id.
#include "sdl2/box_closer.h"

#include <unistd.h>
#include <xcb/res.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace gravisk::sdl2 {
namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> reply(T* raw) {
  return Reply<T>(raw, &std::free);
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
  const auto answer = reply(xcb_intern_atom_reply(
      connection,
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
      nullptr));
  return answer ? answer->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The text of a window's property, empty when it has none.
std::string textProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                         xcb_atom_t type) {
  const auto answer = reply(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, property, type, 0, 64), nullptr));
  if (!answer || answer->format != 8) return {};
  return std::string(static_cast<const char*>(xcb_get_property_value(answer.get())),
                     static_cast<std::size_t>(xcb_get_property_value_length(answer.get())));
}

std::vector<xcb_window_t> children(xcb_connection_t* connection, xcb_window_t window) {
  const auto answer =
      reply(xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
  if (!answer) return {};
  const xcb_window_t* first = xcb_query_tree_children(answer.get());
  return std::vector<xcb_window_t>(first, first + xcb_query_tree_children_length(answer.get()));
}

// The parent of process `pid`, from /proc; 0 when it cannot be read.
pid_t parentOf(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  std::string stat;
  std::getline(file, stat);
  // "pid (name) state ppid ...": the name may hold anything, up to the last ')'.
  const std::size_t close = stat.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream rest(stat.substr(close + 1));
  char state = 0;
  long parent = 0;
  return rest >> state >> parent ? static_cast<pid_t>(parent) : 0;
}

// Whether the client that made `window` is this process or a child of it: SDL
// (as Debian builds it) shows its box from a child process it forks for the
// purpose. A server without the X-Resource extension cannot say; then the title
// alone decides.
bool madeHere(xcb_connection_t* connection, xcb_window_t window) {
  const xcb_query_extension_reply_t* res = xcb_get_extension_data(connection, &xcb_res_id);
  if (!res || !res->present) return true;
  const xcb_res_client_id_spec_t asked = {window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
  const auto answer = reply(xcb_res_query_client_ids_reply(
      connection, xcb_res_query_client_ids(connection, 1, &asked), nullptr));
  if (!answer) return false;
  for (auto it = xcb_res_query_client_ids_ids_iterator(answer.get()); it.rem;
       xcb_res_client_id_value_next(&it)) {
    const auto& [id, length] = *it.data;  // which client and what of it; the value's bytes
    if ((id.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) && length >= 4) {
      const auto pid = static_cast<pid_t>(*xcb_res_client_id_value_value(it.data));
      return pid == getpid() || parentOf(pid) == getpid();
    }
  }
  return false;
}

}  // namespace

BoxCloser::BoxCloser(std::string_view title) : title_(title) {
  connection_ = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection_)) {
    xcb_disconnect(connection_);
    connection_ = nullptr;
    return;
  }
  root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
  netWmName_ = atom(connection_, "_NET_WM_NAME");
  utf8String_ = atom(connection_, "UTF8_STRING");
  wmProtocols_ = atom(connection_, "WM_PROTOCOLS");
  wmDeleteWindow_ = atom(connection_, "WM_DELETE_WINDOW");
  // Told of every new top-level window, so that a close asked for before the box
  // is there happens once it is.
  const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(connection_);
}

BoxCloser::~BoxCloser() {
  if (connection_) xcb_disconnect(connection_);
}

int BoxCloser::fd() const {
  return connection_ ? xcb_get_file_descriptor(connection_) : -1;
}

void BoxCloser::close() {
  wanted_ = true;
  events();
}

void BoxCloser::events() {
  if (!connection_) return;
  xcb_generic_event_t* event = xcb_poll_for_event(connection_);
  for (;;) {
    for (; event; event = xcb_poll_for_event(connection_)) {
      // A new top-level window: its title and its mapping are then reported too.
      if ((event->response_type & 0x7f) == XCB_CREATE_NOTIFY) {
        const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(connection_, created->window, XCB_CW_EVENT_MASK, &mask);
      }
      std::free(event);
    }
    if (!wanted_) break;
    wanted_ = !closeNow();
    // Waiting for its replies, the search may have queued events the descriptor
    // will not report again.
    if (!wanted_ || !(event = xcb_poll_for_queued_event(connection_))) break;
  }
  xcb_flush(connection_);
}

bool BoxCloser::closeNow() {
  // The box is a child of the root, or, with a window manager, inside its frame.
  std::vector<xcb_window_t> windows = children(connection_, root_);
  for (std::size_t depth = 0, begin = 0; depth < 2; ++depth) {
    const std::size_t end = windows.size();
    for (std::size_t i = begin; i < end; ++i) {
      const std::vector<xcb_window_t> inner = children(connection_, windows[i]);
      windows.insert(windows.end(), inner.begin(), inner.end());
    }
    begin = end;
  }
  for (const xcb_window_t window : windows) {
    if (textProperty(connection_, window, netWmName_, utf8String_) != title_ ||
        !madeHere(connection_, window)) {
      continue;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = wmProtocols_;
    message.data.data32[0] = wmDeleteWindow_;
    message.data.data32[1] = XCB_CURRENT_TIME;
    // With no event mask the message goes to the client that made the window: the box.
    xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
    return true;
  }
  return false;
}

}  // namespace gravisk::sdl2
