// Start-up: the sequence around the application entry, the window classes it
// registers, and the built program run as a user would.
#include "app/cmdline.h"
#include "app/startup.h"
#include "app/window.h"
#include "app/recorder.h"
#include "support/winprocess.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct EntryCall {
  int argc = -1;
  char** argv = nullptr;
  HINSTANCE instance = nullptr;
  bool classReady = false;
  Recorder window;
} entryCall;

// Opens a window of the main class and asks it to close, as a user would.
int OpenAndCloseEntry(int argc, char** argv) {
  entryCall.argc = argc;
  entryCall.argv = argv;
  entryCall.instance = AppInstance;
  WNDCLASSA record;
  entryCall.classReady = GetClassInfoA(AppInstance, "MorWin0", &record) != 0;
  if (!entryCall.classReady) return -1;
  HWND window = CreateObjectWindow(&entryCall.window, 0, "MorWin0", "start", WS_SYSMENU, nullptr);
  PostMessageA(window, WM_CLOSE, 0, 0);
  return 0;
}

void ExpectClassRecord(HINSTANCE instance, const char* name) {
  SCOPED_TRACE(name);
  WNDCLASSA record;
  ASSERT_TRUE(GetClassInfoA(instance, name, &record));
  EXPECT_EQ(record.style, 0x1040u);
  EXPECT_EQ(record.lpfnWndProc, WndProc);
  EXPECT_EQ(record.cbClsExtra, 0);
  EXPECT_EQ(record.cbWndExtra, static_cast<int>(sizeof(void*)));
  EXPECT_NE(record.hIcon, nullptr);
  EXPECT_EQ(record.hIcon, LoadIconA(instance, MAKEINTRESOURCEA(1)));
  EXPECT_EQ(record.hCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
  EXPECT_EQ(record.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  EXPECT_EQ(record.lpszMenuName, nullptr);
}

// The only test of this program that registers the two classes: a second
// registration would end the process.
TEST(StartUp, RegistersTheMainClassCallsTheEntryAndRunsTheLoop) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  EXPECT_EQ(AppStart(instance, nullptr, "MorWin0", OpenAndCloseEntry), 0);
  ASSERT_TRUE(entryCall.classReady);
  EXPECT_EQ(entryCall.instance, instance);
  EXPECT_TRUE(entryCall.window.Got(WM_CLOSE));  // dispatched by the loop
  EXPECT_TRUE(entryCall.window.Got(WM_DESTROY));

  // The arguments come from this process's own command line.
  EXPECT_GE(entryCall.argc, 1);
  EXPECT_EQ(entryCall.argc, ArgCount);
  EXPECT_EQ(entryCall.argv, ArgVector);
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string module = path;
  EXPECT_EQ(lstrcmpiA(ProgramName, module.substr(module.rfind('\\') + 1).c_str()), 0)
      << ProgramName << " / " << module;

  ExpectClassRecord(instance, "MorWin0");
  RegisterWindowClass("MorWin1");
  ExpectClassRecord(instance, "MorWin1");
}

TEST(StartUp, NegativeEntryStatusEndsWithZeroWithoutTheLoop) {
  PostQuitMessage(5);  // the loop would return this at once
  EXPECT_EQ(AppStart(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr), "MorWin0",
                     [](int, char**) { return -1; }),
            0);
  EXPECT_EQ(RunMessageLoop(), 5);
}

TEST(Program, ShowsItsWindowAndExitsWithZeroWhenClosed) {
  PROCESS_INFORMATION info = {};
  ASSERT_TRUE(StartProcess("\"" ASDEDIT_PATH "\" \"a b\" *.nothing", info));

  // The window is shown at the end of its construction.
  HWND main = WaitForProcessWindow(info.dwProcessId, "MorWin0", 10000);
  if (!main) WaitForExit(info, 0);
  ASSERT_NE(main, nullptr) << "no shown MorWin0 window";
  char title[128] = "";
  GetWindowTextA(main, title, sizeof title);
  EXPECT_STREQ(title, "モルダン・ピクセリオン - Save Editor ver 0.5");
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  EXPECT_NE(GetMenu(main), nullptr);

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(info, 10000), 0u);
}

}  // namespace
