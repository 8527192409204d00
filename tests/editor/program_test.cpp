// The program from outside: started with a file, a file opened in the dialog,
// edited, saved, ended from the menu; the file compared byte for byte.
#include <gtest/gtest.h>

#include "editor/main_window.h"
#include "editor/texts.h"
#include "support/model.h"
#include "support/user.h"

TEST(Program, OpensItsArgumentOrTheChosenFileEditsSavesAndExits) {
  std::string dir = ScratchDir() + "my saves\\", path = dir + "campaign 1.asd";
  CreateDirectoryA(dir.c_str(), nullptr);
  Bytes bytes = SyntheticSave(21, true);
  ASSERT_TRUE(WriteBytes(path, bytes) && WriteBytes(dir + "other.txt", {'x'}));
  PROCESS_INFORMATION process;
  SetCurrentDirectoryA(dir.c_str());  // a name in the current folder, shown and kept whole
  HWND main = StartProgram("\"" ASDEDIT_PATH "\" \"campaign 1.asd\"", process, MainWindowClassName);
  ASSERT_NE(nullptr, main);
  EXPECT_EQ(std::string(MainWindowTitle) + " (" + path + ")", Text(main));
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, WaitExit(process, 10000));

  // Not a save file: the message, and the editor stays as it starts.
  main =
      StartProgram("\"" ASDEDIT_PATH "\" \"" + dir + "other.txt\"", process, MainWindowClassName);
  std::vector<Seen> seen = Answering(
      main, {}, [] {}, 1);
  ASSERT_EQ(1u, seen.size());
  EXPECT_NE(std::string::npos, seen[0].text.find(dir + "other.txt"));
  EXPECT_EQ(MainWindowTitle, Text(main));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, TurnCountId)));
  auto command = [&](HWND window, int id, std::vector<Answer> answers) {
    return Answering(main, answers, [&] { SendMessageA(window, WM_COMMAND, id, 0); });
  };
  auto set = [](HWND window, int id, const char* text) {
    SetWindowTextA(GetDlgItem(window, id), text);
  };
  auto click = [](HWND window, int id) { SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); };
  EXPECT_EQ(1u, command(main, OpenCommandId, {{IDOK, path}}).size());
  GameStateData model = Opened(bytes);
  set(main, TurnCountId, "2024");
  click(main, FirstUnitId + 3);
  set(main, FirstStatId + MagicRow, "321");
  click(main, FirstUnitId + 30);
  click(main, EndBoxId);
  model.turnCount = 2024, model.statRows[MagicRow][3] = 321, model.statRows[EndFlagRow][30] ^= 1;
  ShowUnit(model, 3), ShowUnit(model, 30);
  EXPECT_TRUE(command(main, SaveCommandId, {}).empty());
  EXPECT_EQ(1u, command(main, ExitCommandId, {{IDYES, ""}}).size());
  EXPECT_EQ(0u, WaitExit(process, 10000));
  EXPECT_EQ(Stored(bytes, model), ReadBytes(path));
}
