// The shell: the command line against real files, window objects, start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/cmdline.h"
#include "app/startup.h"
#include "app/text.h"
#include "app/window.h"
#include "support/model.h"
#include "tools/windriver/windriver.h"

namespace {

// A window object that keeps the messages it gets.
struct Recorder : Window {
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    messages.push_back(message);
    if (message == WM_CREATE) createParam = lParam;
    if (message == WM_DESTROY) PostQuitMessage(7);
    return DefWindowProcW(hwnd, message, wParam, lParam);
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

int NeverEntered(int, char**) {
  ADD_FAILURE() << "started";
  return -1;
}

const FailedStartText Failed = {"failed: %s", "AppTest", "error %lu"};

// Reads the message box that comes up onto standard error, and closes it.
DWORD WINAPI CloseBox(void*) {
  HWND box = WaitForWindow("#32770", GetCurrentProcessId());
  (void)std::fprintf(stderr, "box: %s\n", WindowText(GetDlgItem(box, 0xFFFF)).c_str());
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  return 0;
}

}  // namespace

TEST(CommandLine, SplitsQuotesAndExpandsPatternsAgainstTheFiles) {
  std::string dir = ScratchDir();
  std::string sub = dir + u8"表ソ/";  // ソ's second Shift-JIS byte is a backslash
  for (std::string name : {"b.asd", "a.asd", "c.txt", u8"表ソ\\é1.asd", u8"表ソ\\é2.asd"})
    ASSERT_TRUE(WriteBytes(dir + name, {}));
  SetCurrentDirectoryW(std::filesystem::u8path(dir).c_str());
  // The arguments are UTF-8, as the wide command line gives them.
  std::string line = u8"  \"C:\\ゲーム\\表.exe\" *.asd \"*.asd\" none*.x  a\tb \"\" \"a b\"c ";
  line += u8"e\"f " + dir + "?.txt " + sub + u8"é*.asd C:*.txt \"unclosed quote";
  SplitCommandLineText(line.c_str());
  std::vector<std::string> args(ArgVector, ArgVector + ArgCount);
  std::sort(args.begin() + 1, args.begin() + 3);  // in the file system's order
  std::sort(args.begin() + 10, args.begin() + 12);
  std::string joined;  // each argument followed by a bar
  for (const std::string& arg : args) joined += arg + "|";
  const std::string expected = u8"C:\\ゲーム\\表.exe|a.asd|b.asd|*.asd|a\tb||a b|c|e\"f|" + dir +
                               "c.txt|" + sub + u8"é1.asd|" + sub + u8"é2.asd|C:c.txt|";
  EXPECT_EQ(expected, joined);
  EXPECT_STREQ(u8"C:\\ゲーム\\", ProgramDir);
  EXPECT_STREQ(u8"表.exe", ProgramName);
  char utf8[8];  // half a character names no file: it is refused, not replaced
  EXPECT_FALSE(ToUtf8(L"a\xD800", utf8, sizeof utf8) || utf8[0]);
  EXPECT_TRUE(ToUtf8(L"\xD83D\xDE00", utf8, sizeof utf8));
}

TEST(Shell, StartUpRunsTheEntryAndTheLoopThatWindowObjectsEnd) {
  // An object sees nothing before WM_CREATE, which brings its own handle.
  EXPECT_EQ(7, AppStart(GetModuleHandleA(nullptr), nullptr, "AppTest", StartEntry, Failed));
  EXPECT_EQ(static_cast<UINT>(WM_CREATE), Started.messages.front());
  EXPECT_EQ(reinterpret_cast<LPARAM>(Started.hwnd), Started.createParam);
  EXPECT_EQ(1, std::count(Started.messages.begin(), Started.messages.end(), WM_DESTROY));
  EXPECT_EQ(0, AppStart(
                   GetModuleHandleA(nullptr), GetModuleHandleA(nullptr), "AppTest",
                   [](int, char**) { return -1; }, Failed));

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
  // cannot be made in an orderly way: both say so with the system's reason,
  // and end with the failed start's code.
  auto registerTwice = [] {
    CreateThread(nullptr, 0, CloseBox, nullptr, 0, nullptr);
    RegisterWindowClass("AppTest");
    std::exit(0);
  };
  EXPECT_EXIT(registerTwice(), testing::ExitedWithCode(FailedStartExit), "box: failed: .");
  auto createUnregistered = [&] {
    CreateThread(nullptr, 0, CloseBox, nullptr, 0, nullptr);
    CreateObjectWindow(&object, 0, "NoSuchClass", "", 0, nullptr);
    std::exit(0);
  };
  EXPECT_EXIT(createUnregistered(), testing::ExitedWithCode(FailedStartExit), "box: failed: .");
}

// A Windows without the texts' code page (here one that no system has): the
// user reads why in English, and the start fails before anything else.
TEST(Shell, AWindowsWithoutTheTextsCodePageIsToldInEnglish) {
  std::vector<Seen> seen = Answering(nullptr, {{IDOK, ""}}, [] {
    EXPECT_EQ(NoCodePageExit, AppStart(GetModuleHandleA(nullptr), nullptr, "NoCodePage",
                                       NeverEntered, Failed, 59999));
  });
  ASSERT_EQ(1u, seen.size());
  EXPECT_NE(std::string::npos, seen[0].text.find("needs code page 932"));
  EXPECT_NE(std::string::npos, seen[0].text.find("\"Install files for East Asian languages\""));
  WNDCLASSA record;
  EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "NoCodePage", &record));
}
