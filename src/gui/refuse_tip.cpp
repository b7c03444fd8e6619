#include "gui/refuse_tip.h"

#include <commctrl.h>

namespace tellu {
namespace {

constexpr int kTipWidth = 480;

TOOLINFOW Tool(HWND edit, std::wstring* text) {
  TOOLINFOW tool{};
  // The size of the version-4 record: comctl32 5 refuses the larger one.
  tool.cbSize = TTTOOLINFOW_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = GetParent(edit);
  tool.uId = reinterpret_cast<UINT_PTR>(edit);
  tool.lpszText = text ? text->data() : nullptr;
  return tool;
}

}  // namespace

RefuseTip::~RefuseTip() {
  if (tip_) DestroyWindow(tip_);
}

void RefuseTip::Show(HWND edit, const std::wstring& text) {
  Hide();
  if (!tip_) {
    // Not owned, as the bar's other tooltips: an owned topmost popup keeps
    // its owner from being made topmost on some systems.
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_BALLOON, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    if (!tip_) return;
    // A width makes the tooltip break its text at CR LF.
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
  }
  edit_ = edit;
  text_ = text;
  TOOLINFOW tool = Tool(edit, &text_);
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  RECT r{};
  GetWindowRect(edit, &r);
  SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM((r.left + r.right) / 2, r.bottom));
  SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void RefuseTip::Hide() {
  if (!tip_ || !edit_) return;
  TOOLINFOW tool = Tool(edit_, nullptr);
  SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  // Wine leaves a tracking tip drawn once its tool is gone.
  ShowWindow(tip_, SW_HIDE);
  edit_ = nullptr;
}

}  // namespace tellu
