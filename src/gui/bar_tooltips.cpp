#include "gui/bar_tooltips.h"

#include <utility>

#include "bar/tooltips.h"
#include "chat/status.h"
#include "win32/wide_text.h"

namespace tellu {

BarTooltips::~BarTooltips() {
  if (tip_) DestroyWindow(tip_);
}

bool BarTooltips::Create(HWND bar, std::initializer_list<int> controls,
                         std::function<int()> status) {
  status_ = std::move(status);
  // Not owned by the bar: an owned topmost popup keeps its owner from being
  // made topmost on some systems (Wine).  The texts are asked of the bar all
  // the same, as each tool names it.
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tip_) return false;
  for (int id : controls) {
    HWND control = GetDlgItem(bar, id);
    if (!control) continue;
    TOOLINFOW tool{};
    // The size of the version-4 record: comctl32 5 refuses the larger one.
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = bar;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return true;
}

bool BarTooltips::OnNotify(NMHDR* header) {
  if (!tip_ || !header || header->hwndFrom != tip_ || header->code != TTN_GETDISPINFOW)
    return false;
  // The header is the start of the tooltip's record, which it reads back.
  auto& info = *reinterpret_cast<NMTTDISPINFOW*>(header);
  const int id = (info.uFlags & TTF_IDISHWND)
                     ? GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom))
                     : static_cast<int>(header->idFrom);
  const auto text = TooltipText(id, StatusLabel(status_ ? status_() : 0));
  text_ = text ? Wide(*text) : std::wstring();
  info.lpszText = text_.data();
  info.szText[0] = L'\0';
  info.hinst = nullptr;
  return true;
}

}  // namespace tellu
