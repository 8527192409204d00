// The shell: the command line against real files, window objects, start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/cmdline.h"
#include "app/startup.h"
#include "app/window.h"
#include "support/model.h"

namespace {

// A window object that keeps the messages it gets.
struct Recorder : Window {
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    messages.push_back(message);
    if (message == WM_CREATE) createParam = lParam;
    if (message == WM_DESTROY) PostQuitMessage(7);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  std::vector<UINT> messages;
  LPARAM createParam = 0;
} Started;

int StartEntry(int argc, char** argv) {
  if (argc != ArgCount || argv != ArgVector) return -1;
  CreateObjectWindow(&Started, 0, "AppTest", "app", WS_OVERLAPPEDWINDOW, nullptr);
  PostMessageA(Started.hwnd, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace

TEST(CommandLine, SplitsQuotesAndExpandsPatternsAgainstTheFiles) {
  std::string dir = ScratchDir(), dbcs = dir + "表\\";  // 表's second byte is a backslash
  CreateDirectoryA(dbcs.c_str(), nullptr);
  for (std::string name : {dir + "b.asd", dir + "a.asd", dir + "c.txt", dbcs + "表1.asd"})
    ASSERT_TRUE(WriteBytes(name, {}));
  SetCurrentDirectoryA(dir.c_str());
  SplitCommandLineText(
      ("  \"C:\\ゲーム\\表.exe\" *.asd \"*.asd\" none*.x  a\tb \"\" \"a b\"c e\"f " + dir +
       "?.txt " + dbcs + "表*.asd \"unclosed quote")
          .c_str());
  std::vector<std::string> args(ArgVector, ArgVector + ArgCount);
  std::sort(args.begin() + 1, args.begin() + 3);  // in the file system's order
  EXPECT_EQ((std::vector<std::string>{"C:\\ゲーム\\表.exe", "a.asd", "b.asd", "*.asd", "a\tb", "",
                                      "a b", "c", "e\"f", dir + "c.txt", dbcs + "表1.asd"}),
            args);
  EXPECT_STREQ("C:\\ゲーム\\", ProgramDir);
  EXPECT_STREQ("表.exe", ProgramName);
}

TEST(Shell, StartUpRunsTheEntryAndTheLoopThatWindowObjectsEnd) {
  // An object sees nothing before WM_CREATE, which brings its own handle.
  EXPECT_EQ(7, AppStart(GetModuleHandleA(nullptr), nullptr, "AppTest", StartEntry));
  EXPECT_EQ(static_cast<UINT>(WM_CREATE), Started.messages.front());
  EXPECT_EQ(reinterpret_cast<LPARAM>(Started.hwnd), Started.createParam);
  EXPECT_EQ(1, std::count(Started.messages.begin(), Started.messages.end(), WM_DESTROY));
  EXPECT_EQ(0, AppStart(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr), "AppTest",
                        [](int, char**) { return -1; }));

  Recorder object;
  CreateObjectWindow(&object, 0, "AppTest", "size", WS_CLIPSIBLINGS | WS_SYSMENU, nullptr);
  MoveWindow(object.hwnd, 37, 29, 300, 200, FALSE);
  ResizeClient(&object, 640, 480, FALSE);
  RECT client, outer;
  GetClientRect(object.hwnd, &client);
  GetWindowRect(object.hwnd, &outer);
  EXPECT_EQ((std::vector<LONG>{640, 480, 37, 29}),
            (std::vector<LONG>{client.right, client.bottom, outer.left, outer.top}));
  // A class that cannot be registered ends the process at once, a window that
  // cannot be made in an orderly way: both with exit code 0.
  EXPECT_EXIT((RegisterWindowClass("AppTest"), std::exit(3)), testing::ExitedWithCode(0), "");
  EXPECT_EXIT((CreateObjectWindow(&object, 0, "NoSuchClass", "", 0, nullptr), std::exit(3)),
              testing::ExitedWithCode(0), "");
}
