#include <QByteArray>
#include <QString>
#include <algorithm>

// Last: Xlib's macros (None, Bool, Status) clash with Qt.
#include "platform/linux/x11_error_trap.h"
#include "platform/linux/x11_queries.h"

namespace pellwick::x11 {

namespace {

// In 32-bit units: all of any real property.
constexpr long kWholeProperty = 0x1fffffff;
// How deep below a window manager's frame its client window may lie.
constexpr int kFrameDepth = 3;

}  // namespace

std::string asLatin1(const unsigned char* bytes, unsigned long count) {
  std::string text;
  for (unsigned long i = 0; i < count; ++i) {
    const unsigned char byte = bytes[i];
    if (byte < 0x80) {
      text += static_cast<char>(byte);
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

bool isUtf8(const std::string& text) {
  const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
  return QString::fromUtf8(bytes).toUtf8() == bytes;
}

bool XQueries::nextEvent(XEvent& event) {
  if (XPending(display_) == 0) return false;
  XNextEvent(display_, &event);
  return true;
}

Window XQueries::ewmhCheckWindow() {
  auto check = readWindow(root_, atoms.netSupportingWmCheck);
  if (!check || *check == None) return None;
  listen(*check, StructureNotifyMask);
  if (readWindow(*check, atoms.netSupportingWmCheck) == check) return *check;
  listen(*check, NoEventMask);
  return None;
}

Window XQueries::focusedClient() {
  Window focus = None;
  int revertTo = 0;
  XGetInputFocus(display_, &focus, &revertTo);
  if (focus == static_cast<Window>(PointerRoot)) focus = topLevelUnderPointer();
  if (focus == None || focus == root_) return None;
  return clientOf(focus);
}

bool XQueries::minimised(Window window) {
  if (auto state = read(window, atoms.wmState, atoms.wmState);
      state && state->format == 32 && state->count > 0 && state->longs()[0] == IconicState) {
    return true;
  }
  auto netState = read(window, atoms.netWmState, XA_ATOM);
  if (!netState || netState->format != 32) return false;
  const long* states = netState->longs();
  const long* end = states + netState->count;
  return std::find(states, end, static_cast<long>(atoms.netWmStateHidden)) != end;
}

Caption XQueries::caption(Window window) {
  if (auto name = read(window, atoms.netWmName, atoms.utf8String); name && name->format == 8) {
    std::string text(reinterpret_cast<const char*>(name->data.get()), name->count);
    if (isUtf8(text)) return {std::move(text), true};
    return {asLatin1(name->data.get(), name->count), false};
  }
  return wmName(window);
}

bool XQueries::setCaption(Window window, const std::string& utf8) {
  const unsigned long errorsBefore = ErrorTrap::errors(display_);
  const bool windowsOwnNetWmName = hasNetWmNameOfItsOwn(window);
  if (!writeWmName(window, utf8) || windowsOwnNetWmName) {
    XChangeProperty(display_, window, atoms.netWmName, atoms.utf8String, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()),
                    static_cast<int>(utf8.size()));
    if (!windowsOwnNetWmName) addedNetWmNames_[window] = utf8;
  } else if (addedNetWmNames_.erase(window) > 0) {
    XDeleteProperty(display_, window, atoms.netWmName);
  }
  XSync(display_, False);
  if (ErrorTrap::errors(display_) == errorsBefore) return true;
  addedNetWmNames_.erase(window);
  return false;
}

std::optional<int> XQueries::width(Window window) {
  Window root;
  int x, y;
  unsigned int width, height, border, depth;
  if (!XGetGeometry(display_, window, &root, &x, &y, &width, &height, &border, &depth)) {
    return std::nullopt;
  }
  return static_cast<int>(width);
}

std::optional<Property> XQueries::read(Window window, Atom property, Atom type) {
  Property result;
  unsigned long bytesAfter = 0;
  unsigned char* data = nullptr;
  const int status =
      XGetWindowProperty(display_, window, property, 0, kWholeProperty, False, type, &result.type,
                         &result.format, &result.count, &bytesAfter, &data);
  result.data.reset(data);
  if (status != Success || result.type == None) return std::nullopt;
  if (type != AnyPropertyType && result.type != type) return std::nullopt;
  return result;
}

std::optional<Window> XQueries::readWindow(Window window, Atom property) {
  auto value = read(window, property, XA_WINDOW);
  if (!value || value->format != 32 || value->count == 0) return std::nullopt;
  return static_cast<Window>(value->longs()[0]);
}

bool XQueries::hasNetWmNameOfItsOwn(Window window) {
  const auto added = addedNetWmNames_.find(window);
  if (added == addedNetWmNames_.end()) return hasProperty(window, atoms.netWmName);
  auto name = read(window, atoms.netWmName, atoms.utf8String);
  if (name && name->format == 8 &&
      std::string(reinterpret_cast<const char*>(name->data.get()), name->count) == added->second) {
    return false;
  }
  addedNetWmNames_.erase(added);
  return name.has_value();
}

bool XQueries::hasProperty(Window window, Atom property) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, bytesAfter = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display_, window, property, 0, 0, False, AnyPropertyType,
                                        &type, &format, &count, &bytesAfter, &data);
  if (data) XFree(data);
  return status == Success && type != None;
}

Window XQueries::topLevelUnderPointer() {
  Window root, child = None;
  int rootX, rootY, x, y;
  unsigned int buttons;
  XQueryPointer(display_, root_, &root, &child, &rootX, &rootY, &x, &y, &buttons);
  return child;
}

Window XQueries::clientOf(Window window) {
  Window current = window;
  while (!hasProperty(current, atoms.wmState)) {
    auto parent = parentOf(current);
    if (!parent) return None;
    if (*parent == root_ || *parent == None) {
      return clientBelow(current, kFrameDepth).value_or(current);
    }
    current = *parent;
  }
  return current;
}

std::optional<Window> XQueries::clientBelow(Window window, int depth) {
  if (depth == 0) return std::nullopt;
  Window root, parent;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return std::nullopt;
  std::unique_ptr<Window, XFreeDeleter> owned(children);
  for (unsigned int i = 0; i < count; ++i) {
    if (hasProperty(children[i], atoms.wmState)) return children[i];
  }
  for (unsigned int i = 0; i < count; ++i) {
    if (auto client = clientBelow(children[i], depth - 1)) return client;
  }
  return std::nullopt;
}

std::optional<Window> XQueries::parentOf(Window window) {
  Window root, parent;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return std::nullopt;
  if (children) XFree(children);
  return parent;
}

Caption XQueries::wmName(Window window) {
  XTextProperty text{};
  if (!XGetTextProperty(display_, window, &text, XA_WM_NAME)) return {};
  std::unique_ptr<unsigned char, XFreeDeleter> owned(text.value);
  char** list = nullptr;
  int count = 0;
  const int unconverted = Xutf8TextPropertyToTextList(display_, &text, &list, &count);
  if (unconverted != Success || !list) {
    if (list) XFreeStringList(list);
    return {asLatin1(text.value, text.nitems), false};
  }
  Caption name;
  for (int i = 0; i < count; ++i) name.text += list[i];
  XFreeStringList(list);
  return name;
}

bool XQueries::writeWmName(Window window, const std::string& utf8) {
  char* list[] = {const_cast<char*>(utf8.c_str())};
  XTextProperty text{};
  const int unconverted = Xutf8TextListToTextProperty(display_, list, 1, XStdICCTextStyle, &text);
  if (unconverted < Success) return false;
  XSetTextProperty(display_, window, &text, XA_WM_NAME);
  XFree(text.value);
  return unconverted == Success;
}

}  // namespace pellwick::x11
