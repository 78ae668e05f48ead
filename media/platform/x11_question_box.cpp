// Our own question box on X11, for a desktop without a dialog helper (a bare X server, a
// minimal window manager). It answers every key the platform's own boxes answer: Y, N and C
// at once (with or without Alt), Tab, Shift+Tab and the arrows move a visible focus ring
// (Yes has it first), Return and Space press the focused button, Escape and the window's
// close box give Cancel; the mouse presses a button on release over it. An information or
// a warning icon drawn with Xlib primitives; the caption is the application title; the box
// asks to stay above other windows and takes the keyboard focus when it is mapped.
// Depends on: Xlib with the X server's core fonts, XKB (detectable auto-repeat).
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <string>
#include <vector>

#include "media/platform/question_box.h"
#include "media/platform/video.h"
#include "media/resources/utf16.h"

namespace media {

namespace {

constexpr int kPadding = 14;        // around the content and the button row
constexpr int kIconSize = 32;       // the icon's square
constexpr int kIconGap = 14;        // between the icon and the text
constexpr int kMaxTextWidth = 440;  // longer lines wrap at spaces
constexpr int kButtonMinWidth = 84;
constexpr int kButtonGap = 10;
constexpr int kButtonRowGap = 18;  // between the text and the buttons

// Fonts the X server has in its core font path: a proportional one where the desktop's
// font packages are installed, xfonts-base's fixed font in Unicode, and "fixed", which
// every X server has.
constexpr const char* kFontNames[] = {
    "-*-helvetica-medium-r-normal--*-120-*-*-*-*-iso10646-1",
    "-misc-fixed-medium-r-normal--13-*-*-*-*-*-iso10646-1",
    "fixed",
};

struct Colours {
  unsigned long background, face, pressedFace, border, text, focus, infoBlue, warningYellow,
      warningEdge, white;
};

struct Label {
  std::vector<XChar2b> glyphs;
  int width = 0;
};

struct Button {
  int answer;
  Label label;
  XRectangle rect;
  int letterWidth = 0;  // the underlined first letter's
};

enum AtomIndex {
  kWmProtocols,
  kWmDeleteWindow,
  kNetWmName,
  kUtf8String,
  kNetWmWindowType,
  kNetWmWindowTypeDialog,
  kNetWmState,
  kNetWmStateAbove,
  kNetWmStateModal,
  kNetActiveWindow,
  kAtomCount,
};
constexpr std::array<const char*, kAtomCount> kAtomNames = {
    "WM_PROTOCOLS",        "WM_DELETE_WINDOW",           "_NET_WM_NAME",  "UTF8_STRING",
    "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_STATE", "_NET_WM_STATE_ABOVE",
    "_NET_WM_STATE_MODAL", "_NET_ACTIVE_WINDOW",
};

// Xlib's error handler is the process's; while the box shows, errors on its own
// connection (a focus request the window manager overtook, an owner window that is gone)
// are not worth ending the program for, and every other connection keeps its handler.
Display* boxDisplay = nullptr;
XErrorHandler previousErrorHandler = nullptr;
int OnXError(Display* display, XErrorEvent* error) {
  if (display == boxDisplay || previousErrorHandler == nullptr) return 0;
  return previousErrorHandler(display, error);
}

class X11QuestionBox {
 public:
  X11QuestionBox(Display* display, const QuestionBoxRequest& request);
  ~X11QuestionBox();
  X11QuestionBox(const X11QuestionBox&) = delete;
  X11QuestionBox& operator=(const X11QuestionBox&) = delete;

  int Run();

 private:
  Label MakeLabel(std::u16string_view text) const;
  int TextWidth(const XChar2b* glyphs, int count) const;
  void WrapText(std::u16string_view text);
  void Layout();
  unsigned long Colour(unsigned rgb) const;
  void CreateWindow(const QuestionBoxRequest& request);
  void MapAndTakeFocus();
  std::bitset<256> KeysDown() const;
  void Draw() const;
  void DrawIcon(int left, int top) const;
  void DrawButton(int index) const;
  void OnKeyPress(XKeyEvent& event);
  int ButtonAt(int x, int y) const;
  void MoveFocus(int step);

  Display* display_;
  int screen_;
  int serious_;
  // The font, by id: its whole metrics table (65536 characters for a Unicode font) would
  // take the X server and us 10-20 ms to send and read, so widths are asked of the server.
  Font font_ = 0;
  int ascent_ = 0;  // the font's lines above and below the baseline
  int descent_ = 0;
  bool twoBytes_ = false;  // indexed by two bytes (Unicode) rather than one (Latin-1)
  GC gc_{};
  Window window_ = 0;
  bool windowGone_ = false;  // destroyed by another client
  std::array<Atom, kAtomCount> atoms_{};
  Colours colours_{};
  std::vector<Label> lines_;
  std::array<Button, 3> buttons_;
  int lineHeight_ = 0;
  int width_ = 0;
  int height_ = 0;
  int textLeft_ = 0;
  int textTop_ = 0;
  int iconTop_ = 0;
  int focus_ = 0;             // index of the button with the focus ring
  int armed_ = -1;            // the button the mouse went down on
  std::bitset<256> stale_{};  // keys already down when the box appeared
  int answer_ = kAnswerCancel;
  bool answered_ = false;
};

X11QuestionBox::X11QuestionBox(Display* display, const QuestionBoxRequest& request)
    : display_(display), screen_(DefaultScreen(display)), serious_(request.serious) {
  for (const char* name : kFontNames) {
    // The first font the pattern names, with its description (no metrics table).
    int count = 0;
    XFontStruct* info = nullptr;
    char** names = XListFontsWithInfo(display_, name, 1, &count, &info);
    if (names == nullptr) continue;
    if (count > 0) {
      font_ = XLoadFont(display_, names[0]);
      ascent_ = info->ascent;
      descent_ = info->descent;
      twoBytes_ = info->max_byte1 > 0;
    }
    XFreeFontInfo(names, info, count);
    if (font_ != 0) break;
  }
  lineHeight_ = font_ != 0 ? ascent_ + descent_ + 2 : 15;
  buttons_ = {Button{kAnswerYes, MakeLabel(u"Yes"), {}}, Button{kAnswerNo, MakeLabel(u"No"), {}},
              Button{kAnswerCancel, MakeLabel(u"Cancel"), {}}};
  // Asked of the server once, not at every redraw.
  if (font_ != 0) {
    for (Button& button : buttons_) button.letterWidth = TextWidth(button.label.glyphs.data(), 1);
  }
  WrapText(request.text);
  Layout();
  XInternAtoms(display_, const_cast<char**>(kAtomNames.data()), kAtomCount, False, atoms_.data());
  colours_ = {Colour(0xE8E8E8), Colour(0xF7F7F7), Colour(0xC8C8C8), Colour(0x8A8A8A),
              Colour(0x000000), Colour(0x1F62C9), Colour(0x2A6FC9), Colour(0xF2C511),
              Colour(0x6B5600), Colour(0xFFFFFF)};
  CreateWindow(request);
}

X11QuestionBox::~X11QuestionBox() {
  if (gc_ != nullptr) XFreeGC(display_, gc_);
  if (window_ != 0 && !windowGone_) XDestroyWindow(display_, window_);
  if (font_ != 0) XUnloadFont(display_, font_);
  XSync(display_, False);
}

// A one-byte font shows Latin-1 and a two-byte (Unicode) font the whole Basic Multilingual
// Plane; what it cannot show becomes '?'.
Label X11QuestionBox::MakeLabel(std::u16string_view text) const {
  Label label;
  const bool twoBytes = font_ != 0 && twoBytes_;
  for (const char16_t unit : text) {
    char16_t shown = unit;
    if ((unit >= 0xD800 && unit <= 0xDFFF) || (!twoBytes && unit > 0xFF)) shown = u'?';
    label.glyphs.push_back(XChar2b{static_cast<unsigned char>(twoBytes ? shown >> 8 : 0),
                                   static_cast<unsigned char>(shown & 0xFF)});
  }
  if (font_ != 0) {
    label.width = TextWidth(label.glyphs.data(), static_cast<int>(label.glyphs.size()));
  }
  return label;
}

int X11QuestionBox::TextWidth(const XChar2b* glyphs, int count) const {
  int direction = 0;
  int ascent = 0;
  int descent = 0;
  XCharStruct extents{};
  XQueryTextExtents16(display_, font_, glyphs, count, &direction, &ascent, &descent, &extents);
  return extents.width;
}

// Breaks the text at its line breaks, and at spaces where a line would be wider than
// kMaxTextWidth.
void X11QuestionBox::WrapText(std::u16string_view text) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(u'\n', start);
    std::u16string_view paragraph = text.substr(start, end - start);
    std::u16string line;
    std::size_t wordStart = 0;
    while (wordStart <= paragraph.size()) {
      std::size_t wordEnd = paragraph.find(u' ', wordStart);
      if (wordEnd == std::u16string_view::npos) wordEnd = paragraph.size();
      const std::u16string_view word = paragraph.substr(wordStart, wordEnd - wordStart);
      std::u16string longer =
          line.empty() ? std::u16string(word) : line + u' ' + std::u16string(word);
      if (!line.empty() && MakeLabel(longer).width > kMaxTextWidth) {
        lines_.push_back(MakeLabel(line));
        line = word;
      } else {
        line = std::move(longer);
      }
      wordStart = wordEnd + 1;
    }
    lines_.push_back(MakeLabel(line));
    if (end == std::u16string_view::npos) break;
    start = end + 1;
  }
}

void X11QuestionBox::Layout() {
  int textWidth = 0;
  for (const Label& line : lines_) textWidth = std::max(textWidth, line.width);
  const int textHeight = static_cast<int>(lines_.size()) * lineHeight_;
  const int contentHeight = std::max(kIconSize, textHeight);

  const int buttonHeight = lineHeight_ + 12;
  int buttonWidth = kButtonMinWidth;
  for (const Button& button : buttons_) {
    buttonWidth = std::max(buttonWidth, button.label.width + 24);
  }
  const int rowWidth = 3 * buttonWidth + 2 * kButtonGap;

  width_ = std::max(2 * kPadding + kIconSize + kIconGap + textWidth, 2 * kPadding + rowWidth);
  height_ = kPadding + contentHeight + kButtonRowGap + buttonHeight + kPadding;
  textLeft_ = kPadding + kIconSize + kIconGap;
  textTop_ = kPadding + (contentHeight - textHeight) / 2;
  iconTop_ = kPadding + (contentHeight - kIconSize) / 2;

  int x = (width_ - rowWidth) / 2;
  const int y = height_ - kPadding - buttonHeight;
  for (Button& button : buttons_) {
    button.rect = {static_cast<short>(x), static_cast<short>(y),
                   static_cast<unsigned short>(buttonWidth),
                   static_cast<unsigned short>(buttonHeight)};
    x += buttonWidth + kButtonGap;
  }
}

unsigned long X11QuestionBox::Colour(unsigned rgb) const {
  XColor colour{};
  colour.red = static_cast<unsigned short>(((rgb >> 16) & 0xFF) * 257);
  colour.green = static_cast<unsigned short>(((rgb >> 8) & 0xFF) * 257);
  colour.blue = static_cast<unsigned short>((rgb & 0xFF) * 257);
  if (XAllocColor(display_, DefaultColormap(display_, screen_), &colour) != 0) return colour.pixel;
  const bool light = ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF) > 3 * 128;
  return light ? WhitePixel(display_, screen_) : BlackPixel(display_, screen_);
}

void X11QuestionBox::CreateWindow(const QuestionBoxRequest& request) {
  const int x = (DisplayWidth(display_, screen_) - width_) / 2;
  const int y = (DisplayHeight(display_, screen_) - height_) / 2;
  XSetWindowAttributes attributes{};
  attributes.background_pixel = colours_.background;
  attributes.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                          ButtonReleaseMask | StructureNotifyMask | FocusChangeMask;
  window_ =
      XCreateWindow(display_, RootWindow(display_, screen_), x, y, static_cast<unsigned>(width_),
                    static_cast<unsigned>(height_), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWBackPixel | CWEventMask, &attributes);

  // The caption: WM_NAME in Latin-1 for every window manager, _NET_WM_NAME in UTF-8.
  std::string latin1;
  for (const char16_t unit : request.caption)
    latin1 += unit <= 0xFF ? static_cast<char>(unit) : '?';
  XChangeProperty(display_, window_, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(latin1.data()),
                  static_cast<int>(latin1.size()));
  const std::string utf8 = Utf16ToUtf8(request.caption);
  XChangeProperty(display_, window_, atoms_[kNetWmName], atoms_[kUtf8String], 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(utf8.data()),
                  static_cast<int>(utf8.size()));

  XClassHint classHint{const_cast<char*>("question-box"), const_cast<char*>("QuestionBox")};
  XSetClassHint(display_, window_, &classHint);
  // A fixed size, centred on the screen.
  XSizeHints* sizeHints = XAllocSizeHints();
  sizeHints->flags = PPosition | PSize | PMinSize | PMaxSize;
  sizeHints->x = x;
  sizeHints->y = y;
  sizeHints->width = sizeHints->min_width = sizeHints->max_width = width_;
  sizeHints->height = sizeHints->min_height = sizeHints->max_height = height_;
  XSetWMNormalHints(display_, window_, sizeHints);
  XFree(sizeHints);
  XWMHints wmHints{};
  wmHints.flags = InputHint | StateHint;
  wmHints.input = True;
  wmHints.initial_state = NormalState;
  XSetWMHints(display_, window_, &wmHints);

  XSetWMProtocols(display_, window_, &atoms_[kWmDeleteWindow], 1);
  XChangeProperty(display_, window_, atoms_[kNetWmWindowType], XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&atoms_[kNetWmWindowTypeDialog]), 1);
  // The state a window manager reads when the window is first mapped: above the others,
  // and modal to its owner where there is one.
  const Atom states[] = {atoms_[kNetWmStateAbove], atoms_[kNetWmStateModal]};
  const int stateCount = request.ownerX11Window != 0 ? 2 : 1;
  XChangeProperty(display_, window_, atoms_[kNetWmState], XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(states), stateCount);
  if (request.ownerX11Window != 0) {
    XSetTransientForHint(display_, window_, static_cast<Window>(request.ownerX11Window));
  }

  gc_ = XCreateGC(display_, window_, 0, nullptr);
  if (font_ != 0) XSetFont(display_, gc_, font_);
}

void X11QuestionBox::MapAndTakeFocus() {
  XMapRaised(display_, window_);
  XEvent event;
  do {
    XWindowEvent(display_, window_, StructureNotifyMask, &event);
  } while (event.type != MapNotify && event.type != DestroyNotify);
  if (event.type == DestroyNotify) {
    windowGone_ = true;
    answered_ = true;
    return;
  }
  XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
  // A window manager takes focus changes as requests to activate the window.
  XEvent activate{};
  activate.xclient.type = ClientMessage;
  activate.xclient.window = window_;
  activate.xclient.message_type = atoms_[kNetActiveWindow];
  activate.xclient.format = 32;
  activate.xclient.data.l[0] = 1;  // from an application
  activate.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, RootWindow(display_, screen_), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &activate);

  // Keys held while the box appears (the Return that started the program) answer nothing
  // until they are let go; with detectable auto-repeat a held key sends no releases until
  // then. Asked once the focus is ours, so their releases come here.
  XkbSetDetectableAutoRepeat(display_, True, nullptr);
  XSync(display_, False);
  stale_ = KeysDown();
}

std::bitset<256> X11QuestionBox::KeysDown() const {
  char keys[32];
  XQueryKeymap(display_, keys);
  std::bitset<256> down;
  for (std::size_t code = 0; code < 256; ++code) {
    if ((keys[code / 8] & (1 << (code % 8))) != 0) down.set(code);
  }
  return down;
}

void X11QuestionBox::DrawIcon(int left, int top) const {
  const int middle = left + kIconSize / 2;
  if (serious_ == 0) {  // information: a white "i" on a blue disc
    XSetForeground(display_, gc_, colours_.infoBlue);
    XFillArc(display_, window_, gc_, left, top, kIconSize, kIconSize, 0, 360 * 64);
    XSetForeground(display_, gc_, colours_.white);
    XFillArc(display_, window_, gc_, middle - 3, top + 6, 6, 6, 0, 360 * 64);
    XFillRectangle(display_, window_, gc_, middle - 2, top + 14, 5, 12);
    return;
  }
  // warning: a black "!" on a yellow triangle
  XPoint corners[] = {
      {static_cast<short>(middle), static_cast<short>(top + 1)},
      {static_cast<short>(left + kIconSize - 1), static_cast<short>(top + kIconSize - 2)},
      {static_cast<short>(left + 1), static_cast<short>(top + kIconSize - 2)},
      {static_cast<short>(middle), static_cast<short>(top + 1)}};
  XSetForeground(display_, gc_, colours_.warningYellow);
  XFillPolygon(display_, window_, gc_, corners, 3, Convex, CoordModeOrigin);
  XSetForeground(display_, gc_, colours_.warningEdge);
  XDrawLines(display_, window_, gc_, corners, 4, CoordModeOrigin);
  XSetForeground(display_, gc_, colours_.text);
  XFillRectangle(display_, window_, gc_, middle - 2, top + 10, 4, 11);
  XFillRectangle(display_, window_, gc_, middle - 2, top + 24, 4, 4);
}

void X11QuestionBox::DrawButton(int index) const {
  const Button& button = buttons_[static_cast<std::size_t>(index)];
  const XRectangle& r = button.rect;
  XSetForeground(display_, gc_, index == armed_ ? colours_.pressedFace : colours_.face);
  XFillRectangle(display_, window_, gc_, r.x, r.y, r.width, r.height);
  // The focused button: a thick ring in the focus colour and a dotted line inside it.
  const bool focused = index == focus_;
  XSetForeground(display_, gc_, focused ? colours_.focus : colours_.border);
  XSetLineAttributes(display_, gc_, focused ? 2 : 1, LineSolid, CapButt, JoinMiter);
  XDrawRectangle(display_, window_, gc_, r.x + (focused ? 1 : 0), r.y + (focused ? 1 : 0),
                 r.width - (focused ? 2u : 1u), r.height - (focused ? 2u : 1u));
  if (focused) {
    XSetLineAttributes(display_, gc_, 1, LineOnOffDash, CapButt, JoinMiter);
    XSetForeground(display_, gc_, colours_.text);
    XDrawRectangle(display_, window_, gc_, r.x + 4, r.y + 4, r.width - 9u, r.height - 9u);
  }
  XSetLineAttributes(display_, gc_, 1, LineSolid, CapButt, JoinMiter);
  if (font_ == 0) return;

  XSetForeground(display_, gc_, colours_.text);
  const int x = r.x + (r.width - button.label.width) / 2;
  const int baseline = r.y + (r.height - (ascent_ + descent_)) / 2 + ascent_;
  XDrawString16(display_, window_, gc_, x, baseline, button.label.glyphs.data(),
                static_cast<int>(button.label.glyphs.size()));
  // The first letter, which answers with this button, underlined.
  XDrawLine(display_, window_, gc_, x, baseline + 2, x + button.letterWidth - 1, baseline + 2);
}

void X11QuestionBox::Draw() const {
  XClearWindow(display_, window_);
  DrawIcon(kPadding, iconTop_);
  if (font_ != 0) {
    XSetForeground(display_, gc_, colours_.text);
    int y = textTop_ + ascent_ + 1;
    for (const Label& line : lines_) {
      XDrawString16(display_, window_, gc_, textLeft_, y, line.glyphs.data(),
                    static_cast<int>(line.glyphs.size()));
      y += lineHeight_;
    }
  }
  for (int index = 0; index < 3; ++index) DrawButton(index);
}

void X11QuestionBox::MoveFocus(int step) {
  focus_ = (focus_ + step + 3) % 3;
  Draw();
}

int X11QuestionBox::ButtonAt(int x, int y) const {
  for (int index = 0; index < 3; ++index) {
    const XRectangle& r = buttons_[static_cast<std::size_t>(index)].rect;
    if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) return index;
  }
  return -1;
}

// Keys are read as the layout's symbols, so Y, N and C answer where the keyboard shows
// those letters, on any layout.
void X11QuestionBox::OnKeyPress(XKeyEvent& event) {
  if (stale_.test(event.keycode & 0xFF)) return;
  KeySym symbol = NoSymbol;
  char text[8];
  XLookupString(&event, text, sizeof text, &symbol, nullptr);
  KeySym lower = symbol;
  KeySym upper = symbol;
  XConvertCase(symbol, &lower, &upper);
  const auto answer = [this](int value) {
    answer_ = value;
    answered_ = true;
  };
  switch (lower) {
    case XK_y:
      return answer(kAnswerYes);
    case XK_n:
      return answer(kAnswerNo);
    case XK_c:
    case XK_Escape:
      return answer(kAnswerCancel);
    case XK_Return:
    case XK_KP_Enter:
    case XK_space:
    case XK_KP_Space:
      return answer(buttons_[static_cast<std::size_t>(focus_)].answer);
    case XK_Tab:
      return MoveFocus((event.state & ShiftMask) != 0 ? -1 : 1);
    case XK_ISO_Left_Tab:  // Shift+Tab on most layouts
    case XK_Left:
    case XK_KP_Left:
    case XK_Up:
    case XK_KP_Up:
      return MoveFocus(-1);
    case XK_Right:
    case XK_KP_Right:
    case XK_Down:
    case XK_KP_Down:
      return MoveFocus(1);
    default:
      return;
  }
}

int X11QuestionBox::Run() {
  MapAndTakeFocus();
  while (!answered_) {
    XEvent event;
    XNextEvent(display_, &event);
    switch (event.type) {
      case Expose:
        if (event.xexpose.count == 0) Draw();
        break;
      case KeyPress:
        OnKeyPress(event.xkey);
        break;
      case KeyRelease:
        stale_.reset(event.xkey.keycode & 0xFF);
        break;
      case FocusIn:  // keys let go while another window had the focus are no longer held
        stale_ &= KeysDown();
        break;
      case ButtonPress:
        if (event.xbutton.button == Button1) {
          armed_ = ButtonAt(event.xbutton.x, event.xbutton.y);
          if (armed_ >= 0) focus_ = armed_;
          Draw();
        }
        break;
      case ButtonRelease:
        if (event.xbutton.button == Button1 && armed_ >= 0) {
          if (ButtonAt(event.xbutton.x, event.xbutton.y) == armed_) {
            answer_ = buttons_[static_cast<std::size_t>(armed_)].answer;
            answered_ = true;
          }
          armed_ = -1;
          Draw();
        }
        break;
      case ClientMessage:
        if (event.xclient.message_type == atoms_[kWmProtocols] &&
            static_cast<Atom>(event.xclient.data.l[0]) == atoms_[kWmDeleteWindow]) {
          answered_ = true;  // the close box: Cancel
        }
        break;
      case DestroyNotify:
        if (event.xdestroywindow.window == window_) {
          windowGone_ = true;
          answered_ = true;
        }
        break;
      case MappingNotify:
        XRefreshKeyboardMapping(&event.xmapping);
        break;
      default:
        break;
    }
  }
  return answered_ ? answer_ : kAnswerCancel;
}

}  // namespace

std::optional<int> AskWithOwnX11Box(const QuestionBoxRequest& request) {
  Display* const display = ConnectPatiently([] { return XOpenDisplay(nullptr); });
  if (display == nullptr) return std::nullopt;
  boxDisplay = display;
  previousErrorHandler = XSetErrorHandler(OnXError);
  int answer = kAnswerCancel;
  {
    X11QuestionBox box(display, request);
    answer = box.Run();
  }
  XSetErrorHandler(previousErrorHandler);
  previousErrorHandler = nullptr;
  boxDisplay = nullptr;
  XCloseDisplay(display);
  return answer;
}

}  // namespace media
