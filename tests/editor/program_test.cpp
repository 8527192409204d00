// The program from outside: started with a file, a file opened in the dialog,
// edited, saved, ended from the menu; the file compared byte for byte. Every
// path holds characters that Shift-JIS cannot write.
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

TEST(Program, OpensItsArgumentOrTheChosenFileEditsSavesAndExits) {
  std::string dir = ScratchDir() + u8"Téléchargements\\";
  std::string path = dir + u8"세이브 데이터\\campaign 1.asd";
  Bytes bytes = SyntheticSave(21, true);
  ASSERT_TRUE(WriteBytes(path, bytes));
  ASSERT_TRUE(WriteBytes(dir + u8"表ソ\\save1.asd", bytes));
  ASSERT_TRUE(WriteBytes(dir + "save1.asd", bytes));  // a namesake in the current folder
  ASSERT_TRUE(WriteBytes(dir + "other.txt", {'x'}));
  PROCESS_INFORMATION process;
  // A name relative to the current folder is made whole and kept exactly.
  HWND main = Start(dir, u8"\"세이브 데이터\\campaign 1.asd\"", process);
  ASSERT_NE(nullptr, main);
  EXPECT_EQ(Title + " (" + path + ")", OpenedTitle(main));
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, WaitExit(process, 10000));
  // A pattern names the file it matched in its own folder, not the namesake.
  main = Start(dir, u8"表ソ/save1.a?d", process);
  EXPECT_EQ(Title + " (" + dir + u8"表ソ\\save1.asd)", OpenedTitle(main));
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, WaitExit(process, 10000));

  // Not a save file: the message, and the editor stays as it starts.
  main = Start(dir, "other.txt", process);
  std::vector<Seen> seen = Answering(
      main, {}, [] {}, 1);
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(0u, seen[0].text.find(dir + "other.txt\n"));
  EXPECT_EQ(Title, WindowText(main));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, TurnCountId)));
  auto command = [&](int id, const std::vector<Answer>& answers) {
    return Answering(main, answers, [&] { SendMessageA(main, WM_COMMAND, id, 0); });
  };
  auto set = [&](int id, const char* text) { TypeText(GetDlgItem(main, id), text); };
  auto click = [&](int id) { SendMessageA(GetDlgItem(main, id), BM_CLICK, 0, 0); };
  EXPECT_EQ(1u, command(OpenCommandId, {{IDOK, path}}).size());
  GameStateData model = Opened(bytes);
  set(TurnCountId, "2024");
  model.turnCount = 2024;
  click(FirstUnitId + 30);
  ShowUnit(model, 30);
  set(FirstStatId + MagicRow, "321");
  model.statRows[MagicRow][30] = 321;
  EXPECT_TRUE(command(SaveCommandId, {}).empty());
  EXPECT_EQ(1u, command(ExitCommandId, {{IDYES, ""}}).size());
  EXPECT_EQ(0u, WaitExit(process, 10000));
  EXPECT_EQ(Stored(bytes, model), ReadBytes(path));
  EXPECT_EQ(bytes, ReadBytes(dir + "save1.asd"));
}
