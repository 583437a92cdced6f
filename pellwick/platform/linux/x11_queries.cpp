#include <QByteArray>
#include <QString>
#include <algorithm>
#include <charconv>
#include <string_view>

// Last: Xlib's macros (None, Bool, Status) clash with Qt.
#include "platform/linux/x11_error_trap.h"
#include "platform/linux/x11_queries.h"

namespace pellwick::x11 {

namespace {

// In 32-bit units: more than any real state or window property holds. A longer one is
// read cut short, never whole.
constexpr long kSmallProperty = 1024;
// How deep below a window manager's frame its client window may lie.
constexpr int kFrameDepth = 3;

void packProperty(std::string& packed, const TitleProperty& property) {
  packed += std::to_string(property.type) + ' ' + std::to_string(property.bytes.size()) + '\n';
  packed += property.bytes;
}

// A decimal number ended by `end`, taken off the front of `packed`.
std::optional<unsigned long> takeNumber(std::string_view& packed, char end) {
  unsigned long number = 0;
  const char* last = packed.data() + packed.size();
  auto [next, error] = std::from_chars(packed.data(), last, number);
  if (error != std::errc() || next == last || *next != end) return std::nullopt;
  packed.remove_prefix(static_cast<std::size_t>(next - packed.data()) + 1);
  return number;
}

std::optional<TitleProperty> unpackProperty(std::string_view& packed) {
  const auto type = takeNumber(packed, ' ');
  const auto size = type ? takeNumber(packed, '\n') : std::nullopt;
  if (!size || *size > kTitleCap || *size > packed.size()) return std::nullopt;
  TitleProperty property{static_cast<Atom>(*type), std::string(packed.substr(0, *size))};
  packed.remove_prefix(*size);
  return property;
}

}  // namespace

std::string packTitle(const TitleProperties& title) {
  std::string packed;
  packProperty(packed, title.wmName);
  packProperty(packed, title.netWmName);
  return packed;
}

std::optional<TitleProperties> unpackTitle(const std::string& packed) {
  std::string_view rest(packed);
  auto wmName = unpackProperty(rest);
  auto netWmName = wmName ? unpackProperty(rest) : std::nullopt;
  if (!netWmName || !rest.empty()) return std::nullopt;
  return TitleProperties{std::move(*wmName), std::move(*netWmName)};
}

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

WindowTitle XQueries::title(Window window) {
  auto properties = readTitle(window);
  if (!properties) return {{}, {}, false};
  const TitleProperty& netWmName = properties->netWmName;
  WindowTitle title;
  if (netWmName.type == atoms.utf8String) {
    title.rewritable = isUtf8(netWmName.bytes);
    title.text = title.rewritable
                     ? netWmName.bytes
                     : asLatin1(reinterpret_cast<const unsigned char*>(netWmName.bytes.data()),
                                netWmName.bytes.size());
  } else {
    title = wmNameText(properties->wmName);
  }
  title.stored = packTitle(*properties);
  return title;
}

bool XQueries::setCaption(Window window, const std::string& utf8) {
  bool lossless = false;
  const auto wmName = wmNameFor(utf8, &lossless);
  if (!wmName) return false;
  const unsigned long errorsBefore = ErrorTrap::errors(display_);
  const bool windowsOwnNetWmName = hasNetWmNameOfItsOwn(window);
  put(window, XA_WM_NAME, *wmName);
  if (!lossless || windowsOwnNetWmName) {
    put(window, atoms.netWmName, {atoms.utf8String, utf8});
    if (!windowsOwnNetWmName) addedNetWmNames_[window] = utf8;
  } else if (addedNetWmNames_.erase(window) > 0) {
    XDeleteProperty(display_, window, atoms.netWmName);
  }
  XSync(display_, False);
  if (ErrorTrap::errors(display_) == errorsBefore) return true;
  addedNetWmNames_.erase(window);
  return false;
}

bool XQueries::keepOwnWhereWritten(TitleProperties& title, const TitleProperties& own,
                                   const std::string& written) {
  const auto wmName = wmNameFor(written);
  bool kept = false;
  if (wmName && title.wmName == *wmName) {
    title.wmName = own.wmName;
    kept = true;
  }
  if (title.netWmName == TitleProperty{atoms.utf8String, written}) {
    title.netWmName = own.netWmName;
    kept = true;
  }
  return kept;
}

bool XQueries::restoreTitle(Window window, const TitleProperties& own,
                            const std::string& written) {
  addedNetWmNames_.erase(window);
  const auto now = readTitle(window);
  if (!now) return false;
  TitleProperties restored = *now;
  if (!keepOwnWhereWritten(restored, own, written)) return false;
  const unsigned long errorsBefore = ErrorTrap::errors(display_);
  if (!(restored.wmName == now->wmName)) put(window, XA_WM_NAME, restored.wmName);
  if (!(restored.netWmName == now->netWmName)) put(window, atoms.netWmName, restored.netWmName);
  XSync(display_, False);
  return ErrorTrap::errors(display_) == errorsBefore;
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
      XGetWindowProperty(display_, window, property, 0, kSmallProperty, False, type, &result.type,
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
  const auto name = readTitleProperty(window, atoms.netWmName);
  if (name == TitleProperty{atoms.utf8String, added->second}) return false;
  addedNetWmNames_.erase(added);
  return !name || name->type != None;
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

std::optional<TitleProperty> XQueries::readTitleProperty(Window window, Atom property) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, bytesAfter = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display_, window, property, 0, kTitleCap / 4, False,
                                        AnyPropertyType, &type, &format, &count, &bytesAfter,
                                        &data);
  std::unique_ptr<unsigned char, XFreeDeleter> owned(data);
  if (status != Success || type == None) return TitleProperty{};
  if (format != 8 || bytesAfter > 0) return std::nullopt;
  return TitleProperty{type, std::string(reinterpret_cast<const char*>(data), count)};
}

std::optional<TitleProperties> XQueries::readTitle(Window window) {
  auto wmName = readTitleProperty(window, XA_WM_NAME);
  auto netWmName = wmName ? readTitleProperty(window, atoms.netWmName) : std::nullopt;
  if (!netWmName) return std::nullopt;
  return TitleProperties{std::move(*wmName), std::move(*netWmName)};
}

WindowTitle XQueries::wmNameText(const TitleProperty& wmName) {
  if (wmName.type == None) return {};
  const auto* bytes = reinterpret_cast<const unsigned char*>(wmName.bytes.data());
  XTextProperty text{const_cast<unsigned char*>(bytes), wmName.type, 8, wmName.bytes.size()};
  char** list = nullptr;
  int count = 0;
  const int unconverted = Xutf8TextPropertyToTextList(display_, &text, &list, &count);
  if (unconverted != Success || !list) {
    if (list) XFreeStringList(list);
    return {asLatin1(bytes, wmName.bytes.size()), {}, false};
  }
  WindowTitle title;
  for (int i = 0; i < count; ++i) title.text += list[i];
  XFreeStringList(list);
  return title;
}

std::optional<TitleProperty> XQueries::wmNameFor(const std::string& utf8, bool* lossless) {
  char* list[] = {const_cast<char*>(utf8.c_str())};
  XTextProperty text{};
  const int unconverted = Xutf8TextListToTextProperty(display_, list, 1, XStdICCTextStyle, &text);
  if (unconverted < Success) return std::nullopt;
  std::unique_ptr<unsigned char, XFreeDeleter> owned(text.value);
  if (lossless) *lossless = unconverted == Success;
  return TitleProperty{text.encoding, std::string(reinterpret_cast<const char*>(text.value),
                                                  text.nitems)};
}

void XQueries::put(Window window, Atom property, const TitleProperty& value) {
  if (value.type == None) {
    XDeleteProperty(display_, window, property);
    return;
  }
  XChangeProperty(display_, window, property, value.type, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(value.bytes.data()),
                  static_cast<int>(value.bytes.size()));
}

}  // namespace pellwick::x11
