// The registry and shell ports on the real system.
#include <gtest/gtest.h>

#include <string>

#include "fakehost_process.h"
#include "files/std_files.h"
#include "gui/host_window.h"
#include "win32/wide_text.h"
#include "win32/win_registry.h"
#include "win32/win_shell.h"

namespace tellu {
namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(handle);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), KEY_WOW64_32KEY, 0);
  }
  void Put(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(handle, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }

  const std::wstring key = L"Software\\TelluTest" + std::to_wstring(GetCurrentProcessId());
  HKEY handle = nullptr;
  WinRegistry registry;
};

TEST_F(RegistryTest, TextValuesComeAsShiftJis) {
  const wchar_t path[] = L"C:\\RVK\\\u30C6\u30B9\u30C8";  // テスト
  Put(L"Path", REG_SZ, path, sizeof path);
  EXPECT_EQ(registry.ReadLocalMachine(Sjis(key), "Path"), "C:\\RVK\\\x83\x65\x83\x58\x83\x67");
}

TEST_F(RegistryTest, AValueWithoutItsTerminatorIsReadWhole) {
  const wchar_t path[] = L"C:\\RVK";
  Put(L"Path", REG_SZ, path, sizeof path - sizeof(wchar_t));
  EXPECT_EQ(registry.ReadLocalMachine(Sjis(key), "Path"), "C:\\RVK");
}

TEST_F(RegistryTest, MissingOrNonTextValuesGiveNothing) {
  const DWORD number = 5;
  Put(L"Number", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(registry.ReadLocalMachine(Sjis(key), "Number"), "");
  EXPECT_EQ(registry.ReadLocalMachine(Sjis(key), "Path"), "");
  EXPECT_EQ(registry.ReadLocalMachine(Sjis(key) + "\\Missing", "Path"), "");
}

TEST(WinShellTest, StartGivesTheParametersAndTheWorkingFolder) {
  // fakehost started through the shell writes its record into the working
  // folder given, under a relative name.
  const std::wstring folder = wintest::ScratchDir(L"shell");
  const std::string title = "Tellu shell test " + std::to_string(GetCurrentProcessId());
  WinShell shell;
  ASSERT_TRUE(shell.Start(Sjis(wintest::FakeHostPath()),
                          "--title \"" + title + "\" --log started.txt", Sjis(folder)));
  HWND window = nullptr;
  wintest::Poll([&] { return (window = FindTopLevelWindow(title)) != nullptr; });
  ASSERT_NE(window, nullptr);
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, process_id);
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (process) {
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
  }
  const std::wstring log = folder + L"\\started.txt";
  StdFiles files;
  std::string record;
  EXPECT_TRUE(files.ReadAll(Sjis(log), record));
  EXPECT_NE(record.find("ready"), std::string::npos);
  DeleteFileW(log.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST(WinShellTest, OpeningWhatDoesNotExistFails) {
  WinShell shell;
  EXPECT_FALSE(shell.Open("C:\\no\\such\\document-" + std::to_string(GetCurrentProcessId()) +
                          ".tellu-none"));
}

}  // namespace
}  // namespace tellu
