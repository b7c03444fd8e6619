#include "gui/link_view.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "log/find_address.h"
#include "text/sjis.h"
#include "win32/wide_text.h"

namespace tellu {
namespace {

// Posted to the view itself: the clicked address is opened.
constexpr UINT kOpenMessage = WM_APP + 0x4C;
// Left alone, the control takes 32,767 characters, typed or streamed; the
// 1024 lines of the log pass that.
constexpr LPARAM kTextLimit = 0x7FFFFFFE;

// The rich edit 1.0 window class, registered by its library.
bool LoadRichEdit() {
  static const bool loaded = LoadLibraryW(L"RICHED32.DLL") != nullptr;
  return loaded;
}

LONG TextLength(HWND view) { return static_cast<LONG>(GetWindowTextLengthW(view)); }

void Select(HWND view, LONG from, LONG to) {
  CHARRANGE range{from, to};
  SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

CHARRANGE Selection(HWND view) {
  CHARRANGE range{};
  SendMessageW(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return range;
}

// Shift-JIS text of a range.  Some rich edit 1.0 controls fill the range
// buffer with narrow text even for a wide window (the Shift-JIS bytes they
// keep); others with UTF-16, converted here with the program's table.
std::string TextRange(HWND view, LONG from, LONG to, bool narrow) {
  if (to <= from) return {};
  const size_t room = static_cast<size_t>(to - from) * 2 + 2;
  std::wstring text(room, L'\0');
  TEXTRANGEW range{{from, to}, text.data()};
  const size_t n = static_cast<size_t>(
      SendMessageW(view, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
  if (narrow) {
    std::string bytes(reinterpret_cast<const char*>(text.data()), std::min(n, room * 2 - 1));
    return bytes.substr(0, bytes.find('\0'));
  }
  text.resize(std::min(n, room));
  return Sjis(text);
}

// Which kind of range text the control gives: it is asked for "ab".
bool GivesNarrowRanges(HWND view) {
  SendMessageW(view, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"ab"));
  wchar_t probe[4] = {};
  TEXTRANGEW range{{0, 2}, probe};
  SendMessageW(view, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  SetWindowTextW(view, L"");
  return probe[0] == static_cast<wchar_t>('a' | 'b' << 8);
}

void ReplaceSelection(HWND view, std::string_view sjis) {
  const std::wstring wide = Wide(sjis);
  SendMessageW(view, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
}

LONG LineStart(HWND view, LONG at) {
  const LRESULT line = SendMessageW(view, EM_EXLINEFROMCHAR, 0, at);
  return static_cast<LONG>(SendMessageW(view, EM_LINEINDEX, line, 0));
}

bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

// At most 31 bytes of a Shift-JIS face name, never half a character.
std::wstring FaceName(const std::string& face) {
  size_t end = 0;
  while (end < face.size()) {
    const size_t next = end + text::CharSize(face, end);
    if (next > 31) break;
    end = next;
  }
  std::wstring wide = Wide(std::string_view(face).substr(0, end));
  if (wide.size() >= LF_FACESIZE) wide.resize(LF_FACESIZE - 1);
  return wide;
}

// Rich text of the runs: a colour table and the text, every character
// outside printable ASCII as its UTF-16 code, which the control puts in as
// it would the same character given as plain text.  A NUL is left out: as
// plain text it would end the rest of the run.
std::string RichTextOf(const std::vector<LinkView::Run>& runs) {
  std::vector<COLORREF> colours;
  std::string body;
  for (const LinkView::Run& run : runs) {
    auto at = std::find(colours.begin(), colours.end(), run.colour);
    if (at == colours.end()) at = colours.insert(colours.end(), run.colour);
    body += "\\cf" + std::to_string(at - colours.begin() + 1) + ' ';
    const std::wstring wide = Wide(run.sjis);
    for (size_t i = 0; i < wide.size(); ++i) {
      const wchar_t c = wide[i];
      // A line break of any kind is a paragraph: as a code the control
      // might keep it as a character of the line.
      if (c == L'\r' || c == L'\n') {
        if (c == L'\r' && i + 1 < wide.size() && wide[i + 1] == L'\n') ++i;
        body += "\\par ";
      } else if (c == L'\\' || c == L'{' || c == L'}') {
        body += '\\';
        body += static_cast<char>(c);
      } else if (c >= 0x20 && c < 0x7F) {
        body += static_cast<char>(c);
      } else if (c != 0) {
        body += "\\u" + std::to_string(static_cast<int16_t>(c)) + '?';
      }
    }
  }
  std::string rtf = "{\\rtf1\\ansi\\uc1{\\colortbl;";
  for (const COLORREF c : colours)
    rtf += "\\red" + std::to_string(GetRValue(c)) + "\\green" + std::to_string(GetGValue(c)) +
           "\\blue" + std::to_string(GetBValue(c)) + ';';
  return rtf + '}' + body + '}';
}

struct RtfSource {
  const std::string& text;
  size_t at;
};

// The rich edit calls back with the system's calling convention, which on
// 32-bit Windows is not a plain function's.
DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG room, LONG* given) {
  auto* from = reinterpret_cast<RtfSource*>(cookie);
  const size_t n = std::min(static_cast<size_t>(room), from->text.size() - from->at);
  std::memcpy(buffer, from->text.data() + from->at, n);
  from->at += n;
  *given = static_cast<LONG>(n);
  return 0;
}

// Rich text in place of the selection.
void StreamIn(HWND view, const std::string& rtf) {
  RtfSource source{rtf, 0};
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = ReadRtf;
  SendMessageW(view, EM_STREAMIN, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
}

}  // namespace

bool LinkView::CreateFromPlaceholder(HWND owner, int id, int font_tenths,
                                     const std::string& face) {
  HWND placeholder = GetDlgItem(owner, id);
  if (!placeholder || !LoadRichEdit()) return false;
  RECT r;
  GetWindowRect(placeholder, &r);
  MapWindowPoints(nullptr, owner, reinterpret_cast<POINT*>(&r), 2);
  DestroyWindow(placeholder);
  HWND view = CreateWindowExW(
      0, L"RICHEDIT", L"",
      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
          ES_READONLY | ES_WANTRETURN,
      r.left, r.top, r.right - r.left, r.bottom - r.top, owner,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!view || !Attach(view)) return false;
  SendMessageW(view, EM_EXLIMITTEXT, 0, kTextLimit);
  // A control that cannot take so much gets its largest of its own.
  if (SendMessageW(view, EM_GETLIMITTEXT, 0, 0) < kTextLimit) SendMessageW(view, EM_EXLIMITTEXT, 0, 0);
  narrow_ranges_ = GivesNarrowRanges(view);
  font_tenths_ = font_tenths;
  face_ = face;
  CHARFORMATW format = DefaultFormat();
  SendMessageW(view, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  insert_colour_ = RGB(0, 0, 0);
  SetBackground(RGB(255, 255, 255));
  line_limit_ = 0;
  SendMessageW(view, EM_SETEVENTMASK, 0,
               ENM_CHANGE | ENM_UPDATE | ENM_SCROLL | ENM_KEYEVENTS | ENM_MOUSEEVENTS |
                   ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_DROPFILES | ENM_PROTECTED);
  SendMessageW(view, EM_SETWORDWRAPMODE, 0, 0);
  return true;
}

CHARFORMATW LinkView::DefaultFormat() const {
  CHARFORMATW format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_OFFSET | CFM_BOLD | CFM_ITALIC |
                  CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED;
  format.yHeight = font_tenths_ * 2;
  format.bCharSet = DEFAULT_CHARSET;
  format.crTextColor = RGB(0, 0, 0);
  const std::wstring face = FaceName(face_);
  face.copy(format.szFaceName, face.size());
  return format;
}

void LinkView::SetBackground(COLORREF colour) {
  background_ = colour;
  if (hwnd()) SendMessageW(hwnd(), EM_SETBKGNDCOLOR, 0, colour);
}

void LinkView::CaretToEnd() {
  const LONG end = TextLength(hwnd());
  Select(hwnd(), end, end);
}

void LinkView::PlaceSelection(LONG from, LONG to) {
  if (hold_)
    Select(hwnd(), from, to);
  else
    CaretToEnd();
}

void LinkView::HoldSelection(bool hold) {
  hold_ = hold;
  if (hwnd())
    SendMessageW(hwnd(), EM_SETOPTIONS, hold ? ECOOP_OR : ECOOP_AND,
                 hold ? ECO_NOHIDESEL : ~static_cast<LPARAM>(ECO_NOHIDESEL));
}

void LinkView::AppendPlain(std::string_view sjis) { AppendRuns({{insert_colour_, sjis}}); }

// Every insertion and every change of format costs the control a pass over
// all its lines, so the runs go in together as one piece of rich text that
// carries their colours.
void LinkView::AppendRuns(const std::vector<Run>& runs) {
  HWND view = hwnd();
  if (!view) return;
  const CHARRANGE kept = Selection(view);
  CaretToEnd();
  // An empty append (after a resize, a new font) only brings the end into view.
  if (std::any_of(runs.begin(), runs.end(), [](const Run& run) { return !run.sjis.empty(); }))
    StreamIn(view, RichTextOf(runs));
  PlaceSelection(kept.cpMin, kept.cpMax);
  if (batch_) return;
  TrimToLimit();
  SendMessageW(view, EM_SCROLLCARET, 0, 0);
}

void LinkView::TrimToLimit() {
  HWND view = hwnd();
  if (line_limit_ <= 0) return;
  const LRESULT lines = SendMessageW(view, EM_GETLINECOUNT, 0, 0);
  if (lines <= line_limit_) return;
  const LRESULT first = SendMessageW(view, EM_LINEINDEX, lines - line_limit_, 0);
  if (first <= 0) return;
  const CHARRANGE kept = Selection(view);
  const LONG cut = static_cast<LONG>(first);
  Select(view, 0, cut);
  ReplaceSelection(view, "");
  // What was cut is not kept for an undo: the view is read-only.
  SendMessageW(view, EM_EMPTYUNDOBUFFER, 0, 0);
  PlaceSelection(std::max(0L, static_cast<long>(kept.cpMin - cut)),
                 std::max(0L, static_cast<long>(kept.cpMax - cut)));
}

void LinkView::BeginBatch() {
  if (!hwnd() || batch_) return;
  batch_ = true;
  if (!show_pending_) SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
}

// A full redraw of the view costs more than the appends of a line, so in a
// flood of lines the view is shown again at most once per kShowInterval:
// the first batch after a quiet moment at once, later ones by a timer.
void LinkView::EndBatch() {
  if (!batch_) return;
  batch_ = false;
  TrimToLimit();
  const ULONGLONG since = GetTickCount64() - shown_at_;
  if (since >= kShowInterval) {
    Show();
  } else if (!show_pending_) {
    show_pending_ = true;
    SetTimer(hwnd(), ShowTimer(), static_cast<UINT>(kShowInterval - since), nullptr);
  }
}

void LinkView::Show() {
  if (!hwnd()) return;
  if (show_pending_) KillTimer(hwnd(), ShowTimer());
  show_pending_ = false;
  shown_at_ = GetTickCount64();
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  SendMessageW(hwnd(), EM_SCROLLCARET, 0, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

// A null window would be the whole screen.
void LinkView::Invalidate() {
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void LinkView::AddRuns(std::string_view sjis, COLORREF colour, std::vector<Run>& runs) {
  while (std::optional<AddressSpan> found = FindAddress(sjis)) {
    runs.push_back({colour, sjis.substr(0, found->start)});
    runs.push_back({kAddressColour, sjis.substr(found->start, found->length)});
    sjis.remove_prefix(found->start + found->length);
  }
  runs.push_back({colour, sjis});
}

void LinkView::AppendText(std::string_view sjis) {
  std::vector<Run> runs;
  AddRuns(sjis, insert_colour_, runs);
  AppendRuns(runs);
}

void LinkView::SetViewFont(int font_tenths, const std::string& face) {
  font_tenths_ = font_tenths;
  face_ = face;
  if (!hwnd()) return;
  CHARFORMATW format = DefaultFormat();
  SendMessageW(hwnd(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  Select(hwnd(), 0, -1);
  SendMessageW(hwnd(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  CaretToEnd();
  AppendText("");
}

bool LinkView::OpenClickedAddress(LPARAM point) {
  HWND view = hwnd();
  if (!view) return false;
  ShowIfPending();
  SendMessageW(view, WM_SETREDRAW, FALSE, 0);
  const CHARRANGE kept = Selection(view);
  CallOriginal(WM_LBUTTONDBLCLK, MK_LBUTTON, point);
  // The double click's first press put the caret where the user pointed.  A
  // word chosen that does not hold it (Wine's control can take one from the
  // next line) is not what was clicked.
  const CHARRANGE word = Selection(view);
  const bool pointed = kept.cpMin == kept.cpMax;
  const LONG p = pointed && (kept.cpMin < word.cpMin || kept.cpMin > word.cpMax) ? kept.cpMin
                                                                                : word.cpMin;
  // The region starts after the line break before the clicked line, going
  // back over lines the control only wrapped.
  LONG s = LineStart(view, p);
  while (s > 0) {
    const std::string before = TextRange(view, s - 1, s, narrow_ranges_);
    if (before.empty() || IsLineBreak(before[0])) break;
    s = LineStart(view, s - 1);
  }
  // An address runs on from the click over address characters only.
  const LONG to = std::min(TextLength(view), p + 1024);
  std::string region = TextRange(view, s, to, narrow_ranges_);
  const size_t offset = std::min(TextRange(view, s, p, narrow_ranges_).size(), region.size());
  size_t e = std::min(offset + 1, region.size());
  while (e < region.size() && IsAddressChar(static_cast<unsigned char>(region[e]))) ++e;
  region.resize(e);
  const std::optional<ClickedAddress> address = AddressAt(region, offset);
  Select(view, kept.cpMin, kept.cpMax);
  SendMessageW(view, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(view, nullptr, TRUE);
  if (!address) return false;
  // A second click before the first is opened opens the second only.
  const bool posted = !pending_open_.empty();
  pending_open_ = address->open;
  SendMessageW(view, EM_SETBKGNDCOLOR, 0, kOpeningFlash);
  RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  if (!posted) PostMessageW(view, kOpenMessage, 0, 0);
  return true;
}

// Nothing of the view is touched while the shell runs; afterwards only if
// the view is still there, in the background its owner set meanwhile.
void LinkView::OpenPending() {
  const std::string open = std::move(pending_open_);
  pending_open_.clear();
  if (open.empty()) return;
  const std::shared_ptr<bool> alive = alive_;
  Shell& shell = shell_;
  shell.Open(open);
  if (!*alive) return;
  SetBackground(background_);
  Invalidate();
}

void LinkView::ShowMenu() {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  const CHARRANGE selection = Selection(hwnd());
  AppendMenuW(menu, MF_STRING | (selection.cpMin == selection.cpMax ? MF_GRAYED : 0),
              kCopyCommand, L"Copy(&C)");
  AppendMenuW(menu, MF_STRING, kSelectAllCommand, L"Select all(&A)");
  AppendMenuW(menu, MF_STRING, kFindCommand, L"Find...(&F)");
  POINT at;
  GetCursorPos(&at);
  const int chosen = TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                                    at.y, 0, hwnd(), nullptr);
  DestroyMenu(menu);
  if (chosen == kCopyCommand) SendMessageW(hwnd(), WM_COPY, 0, 0);
  if (chosen == kSelectAllCommand) Select(hwnd(), 0, TextLength(hwnd()));
  if (chosen == kFindCommand) TellOwner(kFindCommand);
}

void LinkView::TellOwner(int command) {
  SendMessageW(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(command, 0),
               reinterpret_cast<LPARAM>(hwnd()));
}

LRESULT LinkView::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONDBLCLK:
      if (OpenClickedAddress(lparam)) return 0;
      return CallOriginal(message, wparam, lparam);
    case WM_RBUTTONUP:
      ShowMenu();
      return CallOriginal(message, wparam, lparam);
    case WM_KEYDOWN:
      if (wparam == 'F' && GetKeyState(VK_CONTROL) < 0) {
        TellOwner(kFindCommand);
        return 0;
      }
      if (wparam == VK_F3) {
        TellOwner(kFindNextCommand);
        return 0;
      }
      return CallOriginal(message, wparam, lparam);
    case WM_CHAR:
      // Ctrl+F's character: a read-only view would beep at it.
      if (wparam == ('F' & 0x1F)) return 0;
      return CallOriginal(message, wparam, lparam);
    case WM_TIMER:
      if (wparam != ShowTimer()) return CallOriginal(message, wparam, lparam);
      Show();
      return 0;
    case kOpenMessage:
      OpenPending();
      return 0;
    case WM_SIZE: {
      const LRESULT result = CallOriginal(message, wparam, lparam);
      AppendText("");
      return result;
    }
    default:
      return CallOriginal(message, wparam, lparam);
  }
}

}  // namespace tellu
