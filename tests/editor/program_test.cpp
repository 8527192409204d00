// The program from outside: started with a file, which the title names, and
// ended by the close box and from the menu with exit code 0. Every path holds
// characters that Shift-JIS cannot write.
#include <gtest/gtest.h>

#include "asd_version.h"
#include "editor/main_window.h"
#include "support/model.h"
#include "tools/windriver/windriver.h"

namespace {

const std::string Title = u8"モルダン・ピクセリオン - Save Editor ver " ASD_VERSION_TEXT;

// Starts the editor in folder with arguments; its main window.
HWND Start(const std::string& folder, const std::string& arguments, PROCESS_INFORMATION& process) {
  SetCurrentDirectoryW(WideText(folder).c_str());
  return StartProgram("\"" ASDEDIT_PATH "\" " + arguments, process, MainWindowClassName);
}

// The title once it names the file opened from the command line (5 s at most).
std::string OpenedTitle(HWND main) {
  for (int i = 0; i < 500 && WindowText(main) == Title; ++i) Sleep(10);
  return WindowText(main);
}

}  // namespace

TEST(Program, OpensItsArgumentAndEndsWithCodeZero) {
  std::string dir = ScratchDir() + u8"Téléchargements\\";
  std::string path = dir + u8"세이브 데이터\\campaign 1.asd";
  Bytes bytes = SyntheticSave(21, true);
  ASSERT_TRUE(WriteBytes(path, bytes));
  ASSERT_TRUE(WriteBytes(dir + u8"表ソ\\save1.asd", bytes));
  ASSERT_TRUE(WriteBytes(dir + "save1.asd", bytes));  // a namesake in the current folder
  PROCESS_INFORMATION process;
  // A name relative to the current folder is made whole and kept exactly; the close box ends the
  // editor at once.
  HWND main = Start(dir, u8"\"세이브 데이터\\campaign 1.asd\"", process);
  ASSERT_NE(nullptr, main);
  EXPECT_EQ(Title + " (" + path + ")", OpenedTitle(main));
  PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(0u, WaitExit(process, 10000));
  // A pattern names the file it matched in its own folder, not the namesake; 終了 ends the editor
  // once the user says yes.
  main = Start(dir, u8"表ソ/save1.a?d", process);
  EXPECT_EQ(Title + " (" + dir + u8"表ソ\\save1.asd)", OpenedTitle(main));
  auto exit = [&] { SendMessageA(main, WM_COMMAND, ExitCommandId, 0); };
  EXPECT_EQ(1u, Answering(main, {{IDYES, ""}}, exit).size());
  EXPECT_EQ(0u, WaitExit(process, 10000));
}
