// tellu.exe: the socket layer for the run, then the input bar until it closes.
#include <windows.h>
#include <commctrl.h>

#include "gui/tellu_dlg.h"
#include "win32/wide_text.h"
#include "win32/win_net.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  tellu::WinsockSession winsock;
  if (!winsock.ok()) {
    // ソケットの初期化に失敗
    MessageBoxW(nullptr,
                tellu::Wide("\x83\x5C\x83\x50\x83\x62\x83\x67\x82\xCC\x8F\x89\x8A\xFA\x89\xBB"
                            "\x82\xC9\x8E\xB8\x94\x73")
                    .c_str(),
                L"Tellu", MB_OK | MB_ICONEXCLAMATION);
    return tellu::kExitFatal;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  tellu::CTelluDlg bar(tellu::Sjis(command_line ? command_line : L""));
  return bar.Run();
}
