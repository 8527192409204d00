// The main editor window in the test's own process: its states, the unit
// selector, typing, saving, the message boxes and the open dialog.
#include <cstring>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "editor/fixture.h"

namespace {

const char InitialTitle[] = "モルダン・ピクセリオン - Save Editor ver 0.5";

BOOL CALLBACK CollectWindow(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

// Every child of window and of its children.
std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> found;
  EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool Grayed(HWND window, UINT item, UINT by) {
  return (GetMenuState(GetMenu(window), item, by) & MF_GRAYED) != 0;
}

HFONT FontOf(HWND control) { return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)); }

bool SameState(const GameStateData& a, const GameStateData& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string Number(unsigned value) { return std::to_string(value); }

}  // namespace

TEST_F(EditorTest, StartsWithEveryControlDisabledAndTheFileCommandsGrayed) {
  char name[16] = {};
  GetClassNameA(main, name, sizeof name);
  EXPECT_STREQ("MorWin0", name);
  EXPECT_EQ(InitialTitle, WindowText(main));
  LONG style = GetWindowLongA(main, GWL_STYLE);
  EXPECT_EQ(WS_CLIPSIBLINGS | WS_SYSMENU | WS_VISIBLE,
            style & (WS_CLIPSIBLINGS | WS_SYSMENU | WS_VISIBLE | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(640, client.right);
  EXPECT_EQ(480, client.bottom);

  std::vector<HWND> controls = Descendants(main);
  EXPECT_EQ(86u, controls.size());  // 72 on the window, 14 labels in NameBox
  for (HWND control : controls) EXPECT_FALSE(IsWindowEnabled(control)) << WindowText(control);

  EXPECT_EQ(3, GetMenuItemCount(GetMenu(main)));
  EXPECT_TRUE(Grayed(main, 2, MF_BYCOMMAND));
  EXPECT_TRUE(Grayed(main, 1, MF_BYPOSITION));
  EXPECT_TRUE(Grayed(main, 6, MF_BYCOMMAND));
  for (UINT command : {1u, 4u, 9u}) EXPECT_FALSE(Grayed(main, command, MF_BYCOMMAND)) << command;

  EXPECT_EQ("1", Text(16));  // the level's minimum, taken into GameState at once
  EXPECT_EQ(1, GameState.statRows[0][0]);
  for (int id = 12; id <= 30; ++id) {
    if (id != 16) {
      EXPECT_EQ("0", Text(id)) << id;
    }
  }
  EXPECT_FALSE(IsDlgButtonChecked(main, 31));
  EXPECT_EQ("NAME", WindowText(NameBox));
  EXPECT_FALSE(IsWindowVisible(items));
  EXPECT_EQ(main, GetWindow(items, GW_OWNER));
}

TEST_F(EditorTest, LaysOutControlsWhereTheUserExpectsThem) {
  EXPECT_EQ((std::vector<long>{100, 2, 32, 24}), Placement(Control(12)));
  EXPECT_EQ((std::vector<long>{192, 2, 20, 24}), Placement(Control(15)));
  EXPECT_EQ((std::vector<long>{0, 384, 640, 96}), Placement(NameBox));
  EXPECT_EQ((std::vector<long>{160, 404, 68, 18}), Placement(Control(16)));
  EXPECT_EQ((std::vector<long>{562, 452, 68, 18}), Placement(Control(27)));
  EXPECT_EQ((std::vector<long>{48, 404, 24, 18}), Placement(Control(28)));
  EXPECT_EQ((std::vector<long>{76, 404, 24, 18}), Placement(Control(29)));
  EXPECT_EQ((std::vector<long>{48, 428, 52, 18}), Placement(Control(30)));
  EXPECT_EQ((std::vector<long>{12, 448, 72, 18}), Placement(Control(31)));
  EXPECT_EQ((std::vector<long>{2, 50, 60, 60}), Placement(Control(33)));
  EXPECT_EQ((std::vector<long>{66, 50, 60, 60}), Placement(Control(38)));
  EXPECT_EQ((std::vector<long>{578, 306, 60, 60}), Placement(Control(82)));
  EXPECT_TRUE(GetWindowLongA(Control(12), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

  // The labels of the panel live in NameBox, in the small font.
  std::vector<HWND> labels = Descendants(NameBox);
  ASSERT_EQ(14u, labels.size());
  HFONT small = GetInterfaceFont(1);
  bool evasion = false, position = false;
  for (HWND label : labels) {
    EXPECT_EQ(small, FontOf(label));
    EXPECT_TRUE(GetWindowLongA(label, GWL_STYLE) & WS_BORDER);
    if (Placement(label) == std::vector<long>{506, 64, 56, 18}) evasion = WindowText(label) == "回避値";
    if (Placement(label) == std::vector<long>{8, 18, 40, 18}) position = WindowText(label) == "座標";
  }
  EXPECT_TRUE(evasion);
  EXPECT_TRUE(position);
  EXPECT_EQ(" END? ", Text(31));
  EXPECT_EQ(small, FontOf(Control(31)));
  EXPECT_EQ(small, FontOf(Control(60)));
  EXPECT_EQ(GetInterfaceFont(0), FontOf(Control(16)));

  for (int unit = 0; unit < 8; ++unit) EXPECT_EQ(HeroNames[unit], Text(33 + unit));
  EXPECT_EQ("9347", Hex(Text(41)));  // "敵"
  EXPECT_EQ("9347", Hex(Text(82)));
}

TEST_F(EditorTest, CancelledFirstOpenEnablesTheControlsOnly) {
  std::vector<SeenDialog> seen = Command(1, {{IDCANCEL, ""}});
  ASSERT_EQ(1u, seen.size());
  EXPECT_TRUE(seen[0].closed);
  EXPECT_EQ((std::vector<std::string>{"Save Data(*s?.asd)", "All(*.*)"}), seen[0].fileTypes);

  for (HWND control : Descendants(main)) EXPECT_TRUE(IsWindowEnabled(control)) << WindowText(control);
  EXPECT_TRUE(Grayed(main, 2, MF_BYCOMMAND));
  EXPECT_TRUE(Grayed(main, 1, MF_BYPOSITION));
  EXPECT_EQ(InitialTitle, WindowText(main));

  Click(33 + 12);
  EXPECT_EQ("敵", WindowText(NameBox));
  Click(33 + 2);
  EXPECT_EQ(HeroNames[2], WindowText(NameBox));
}

TEST_F(EditorTest, OpenShowsTheFileInRangeAndEnablesTheFileCommands) {
  Bytes bytes = SyntheticSave(1);
  PutWord(bytes, StatOffset(0, 0), 0);    // level 0
  PutWord(bytes, StatOffset(12, 0), 12);  // X beyond 9
  PutWord(bytes, StatOffset(13, 0), 5);   // Y beyond 4
  PutWord(bytes, StatOffset(0, 1), 0);    // an unselected unit keeps its level 0
  PutWord(bytes, 532, 4);                 // a small value beyond 3
  PutWord(bytes, CounterOffset(3), 7);
  PutWord(bytes, CounterOffset(50), 100);  // a monster counter beyond 99

  Command(1, {{IDCANCEL, ""}});
  Click(33 + 9);  // some other unit is selected before the open
  std::string path = OpenNew(bytes);

  EXPECT_EQ(std::string(InitialTitle) + " (" + path + ")", WindowText(main));
  EXPECT_FALSE(Grayed(main, 2, MF_BYCOMMAND));
  EXPECT_FALSE(Grayed(main, 1, MF_BYPOSITION));
  EXPECT_FALSE(Grayed(main, 7, MF_BYCOMMAND));
  EXPECT_TRUE(Grayed(main, 6, MF_BYCOMMAND));

  GameStateData expected = StateOf(bytes);
  ClampShown(expected);
  ClampUnit(expected, 0);
  EXPECT_TRUE(SameState(expected, GameState));
  EXPECT_EQ(1, GameState.statRows[0][0]);
  EXPECT_EQ(0, GameState.statRows[0][1]);
  EXPECT_EQ(9, GameState.statRows[12][0]);
  EXPECT_EQ(4, GameState.statRows[13][0]);
  EXPECT_EQ(3, GameState.smallValues[0]);
  EXPECT_EQ(7, GameState.counters[3]);
  EXPECT_EQ(99, GameState.counters[50]);

  EXPECT_EQ(HeroNames[0], WindowText(NameBox));
  for (int r = 0; r < 15; ++r) EXPECT_EQ(Number(GameState.statRows[r][0]), Text(16 + r)) << r;
  EXPECT_EQ(GameState.statRows[15][0] != 0, IsDlgButtonChecked(main, 31) == BST_CHECKED);
  EXPECT_EQ(Number(GameState.turnCount), Text(12));
  EXPECT_FALSE(IsWindowVisible(items));
  EXPECT_EQ("99", Text(51, items));
}

TEST_F(EditorTest, FailedOpenKeepsTheEarlierFileAsTheSaveTarget) {
  Bytes first = SyntheticSave(2);
  std::string firstPath = OpenNew(first);
  std::string title = WindowText(main);
  Click(33 + 4);

  Bytes foreign = SyntheticSave(3);
  foreign[100] ^= 0x20;  // the title record differs
  std::string foreignPath = dir + "foreign.asd";
  ASSERT_TRUE(WriteFileBytes(foreignPath, foreign));
  GameStateData before = GameState;
  EXPECT_TRUE(Open(foreignPath));
  std::vector<SeenDialog> cancelled = Command(1, {{IDCANCEL, ""}});
  EXPECT_EQ(1u, cancelled.size());

  EXPECT_EQ(title, WindowText(main));
  EXPECT_TRUE(SameState(before, GameState));
  EXPECT_EQ(HeroNames[4], WindowText(NameBox));

  SetText(22, "321");
  EXPECT_TRUE(Command(2).empty());
  EXPECT_EQ(Stored(first, GameState), ReadFileBytes(firstPath));
  EXPECT_EQ(321, WordAt(ReadFileBytes(firstPath), StatOffset(6, 4)));
  EXPECT_EQ(foreign, ReadFileBytes(foreignPath));
}

TEST_F(EditorTest, OpensAndSavesAFileWhosePathTakes259Bytes) {
  std::string folder = dir + std::string(200 - dir.size(), 'd') + "\\";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  std::string path = folder + std::string(259 - folder.size() - 4, 'f') + ".asd";
  ASSERT_EQ(259u, path.size());
  Bytes bytes = SyntheticSave(4);
  ASSERT_TRUE(WriteFileBytes(path, bytes));

  EXPECT_TRUE(Open(path));
  std::string title = WindowText(main);
  EXPECT_EQ(306u, title.size());
  EXPECT_EQ(std::string(InitialTitle) + " (" + path + ")", title);

  SetText(12, "12345");
  EXPECT_TRUE(Command(2).empty());
  EXPECT_EQ(12345, WordAt(ReadFileBytes(path), 364));
  EXPECT_EQ(Stored(bytes, GameState), ReadFileBytes(path));
}

TEST_F(EditorTest, UnitCommandsSelectUnitsZeroToFortyNineOnly) {
  OpenNew(SyntheticSave(5));
  auto showsUnit = [&](int unit) {
    for (int r = 0; r < 15; ++r)
      if (Text(16 + r) != Number(GameState.statRows[r][unit])) return false;
    return (IsDlgButtonChecked(main, 31) == BST_CHECKED) == (GameState.statRows[15][unit] != 0);
  };

  SendMessageA(main, WM_COMMAND, 33 + 6, 0);
  EXPECT_TRUE(showsUnit(6));
  SendMessageA(main, WM_COMMAND, 32, 0);
  SendMessageA(main, WM_COMMAND, 83, 0);
  EXPECT_TRUE(showsUnit(6));
  EXPECT_EQ(HeroNames[6], WindowText(NameBox));

  SendMessageA(main, WM_COMMAND, 33, 0);
  EXPECT_TRUE(showsUnit(0));
  SendMessageA(main, WM_COMMAND, 82, 0);
  EXPECT_TRUE(showsUnit(49));
  EXPECT_EQ("敵", WindowText(NameBox));

  for (int unit = 0; unit < 8; ++unit) {
    Click(33 + unit);
    EXPECT_EQ(HeroNames[unit], WindowText(NameBox));
  }
  Click(33 + 8);
  EXPECT_EQ("敵", WindowText(NameBox));
  EXPECT_TRUE(showsUnit(8));
}

TEST_F(EditorTest, TypedValuesAreCommittedAtOnceAndStayWithTheirUnit) {
  OpenNew(SyntheticSave(6));
  Click(33 + 3);
  std::uint16_t& attack3 = GameState.statRows[6][3];

  SetText(22, "");
  EXPECT_EQ(0, attack3);
  Type(22, "1");
  EXPECT_EQ(1, attack3);
  Type(22, "2");
  EXPECT_EQ(12, attack3);
  Type(22, "34");
  EXPECT_EQ(1234, attack3);

  SetText(16, "");
  Type(16, "0");  // below the level's minimum
  EXPECT_EQ(1, GameState.statRows[0][3]);
  EXPECT_EQ("1", Text(16));
  SetText(28, "");
  Type(28, "10");  // beyond X's maximum
  EXPECT_EQ(9, GameState.statRows[12][3]);
  EXPECT_EQ("9", Text(28));
  SetText(13, "");
  Type(13, "5");
  EXPECT_EQ(3, GameState.smallValues[0]);
  EXPECT_EQ("3", Text(13));

  Click(33 + 20);
  SetText(22, "77");
  EXPECT_EQ(77, GameState.statRows[6][20]);
  EXPECT_EQ(1234, attack3);

  Click(33 + 3);
  EXPECT_EQ("1234", Text(22));
  EXPECT_EQ("1", Text(16));
  EXPECT_EQ("9", Text(28));
}

TEST_F(EditorTest, EndBoxTogglesOnlyTheSelectedUnitsFlag) {
  OpenNew(SyntheticSave(7));
  Click(33 + 11);
  GameStateData before = GameState;

  Click(31);
  GameStateData expected = before;
  expected.statRows[15][11] = before.statRows[15][11] ? 0 : 1;
  EXPECT_TRUE(SameState(expected, GameState));
  EXPECT_EQ(expected.statRows[15][11] == 1, IsDlgButtonChecked(main, 31) == BST_CHECKED);

  Click(31);
  EXPECT_TRUE(SameState(before, GameState));
}

TEST_F(EditorTest, SaveWritesExactlyWhatTheEditorHolds) {
  Bytes bytes = SyntheticSave(8);
  std::string path = OpenNew(bytes);
  SetText(12, "4321");
  Click(33 + 30);
  SetText(20, "555");
  Click(31);
  Command(7);
  SetText(5, "42", items);

  GameStateData held = GameState;
  EXPECT_TRUE(Command(2).empty());  // no message after a save that worked
  Bytes saved = ReadFileBytes(path);
  EXPECT_EQ(Stored(bytes, held), saved);
  EXPECT_EQ(4321, WordAt(saved, 364));
  EXPECT_EQ(555, WordAt(saved, StatOffset(4, 30)));
  EXPECT_EQ(42, WordAt(saved, CounterOffset(4)));
  EXPECT_TRUE(SameState(held, GameState));

  EXPECT_TRUE(Command(2).empty());
  EXPECT_EQ(saved, ReadFileBytes(path));
}

TEST_F(EditorTest, FailedSaveShowsAnErrorAndChangesNothing) {
  Bytes bytes = SyntheticSave(9);
  std::string path = OpenNew(bytes);
  SetText(12, "999");
  GameStateData held = GameState;
  std::string title = WindowText(main);

  // Another program holds the file open for reading only.
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  std::vector<SeenDialog> seen = Command(2, {{IDOK, ""}});
  CloseHandle(holder);
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ("上書き保存に失敗しました。", seen[0].text);
  EXPECT_EQ("エラー", seen[0].caption);
  EXPECT_EQ(LoadIconA(nullptr, IDI_ERROR), seen[0].icon);
  EXPECT_TRUE(seen[0].buttons[IDOK]);
  EXPECT_FALSE(seen[0].buttons[IDCANCEL]);
  EXPECT_EQ(bytes, ReadFileBytes(path));
  EXPECT_TRUE(SameState(held, GameState));
  EXPECT_EQ(title, WindowText(main));

  // The file was replaced by something else, then removed.
  Bytes other(SaveFileMinLength, 'x');
  ASSERT_TRUE(WriteFileBytes(path, other));
  EXPECT_EQ(1u, Command(2, {{IDOK, ""}}).size());
  EXPECT_EQ(other, ReadFileBytes(path));
  ASSERT_TRUE(DeleteFileA(path.c_str()));
  EXPECT_EQ(1u, Command(2, {{IDOK, ""}}).size());
  EXPECT_FALSE(FileExists(path));

  // Once the file is back, saving works again, silently.
  ASSERT_TRUE(WriteFileBytes(path, bytes));
  EXPECT_TRUE(Command(2).empty());
  EXPECT_EQ(Stored(bytes, held), ReadFileBytes(path));
}

TEST_F(EditorTest, ExitAsksAndEndsOnYesOnly) {
  std::vector<SeenDialog> seen = Command(4, {{IDNO, ""}});
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ("8F4997B982B582DC82B782A98148", Hex(seen[0].text));  // "終了しますか？"
  EXPECT_EQ("8A6D9446", Hex(seen[0].caption));                     // "確認"
  EXPECT_EQ(LoadIconA(nullptr, IDI_QUESTION), seen[0].icon);
  EXPECT_TRUE(seen[0].buttons[IDYES] && seen[0].buttons[IDNO]);
  EXPECT_FALSE(seen[0].buttons[IDOK] || seen[0].buttons[IDCANCEL]);
  EXPECT_TRUE(IsWindow(main));
  EXPECT_EQ(-1, QuitCode());

  EXPECT_EQ(1u, Command(4, {{IDYES, ""}}).size());
  EXPECT_FALSE(IsWindow(main));
  EXPECT_FALSE(IsWindow(items));
  EXPECT_EQ(0, QuitCode());
}

TEST_F(EditorTest, CloseBoxEndsAtOnce) {
  DialogUser user(main, {});
  SendMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(user.Finish().empty());
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(0, QuitCode());
}

TEST_F(EditorTest, ShowsItsTextsInShiftJis) {
  std::vector<SeenDialog> seen = Command(9, {{IDOK, ""}});
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ("8382838B835F839381458373834E835A838A83498393205361766520456469746F722076657220302E35"
            "0A"
            "90A78DEC81408C8E8965835C837483678D48965B814031393937",
            Hex(seen[0].text));  // "モルダン・ピクセリオン Save Editor ver 0.5\n制作　月影ソフト工房　1997"
  EXPECT_EQ("CADEB0BCDEAEDD8FEE95F1", Hex(seen[0].caption));  // "ﾊﾞｰｼﾞｮﾝ情報"
  EXPECT_EQ(nullptr, seen[0].icon);
  EXPECT_TRUE(seen[0].buttons[IDOK]);
  EXPECT_FALSE(seen[0].buttons[IDCANCEL] || seen[0].buttons[IDYES]);

  EXPECT_EQ("8382838B835F839381458373834E835A838A83498393202D205361766520456469746F722076657220302E35",
            Hex(WindowText(main)));  // "モルダン・ピクセリオン - Save Editor ver 0.5"
  char item[64] = {};
  GetMenuStringA(GetMenu(main), 0, item, sizeof item, MF_BYPOSITION);
  EXPECT_EQ("CCA7B2D928264629", Hex(item));  // "ﾌｧｲﾙ(&F)"
  GetMenuStringA(GetMenu(main), 2, item, sizeof item, MF_BYCOMMAND);
  EXPECT_EQ("8FE38F9182AB95DB91B6282653292E2E2E", Hex(item));  // "上書き保存(&S)..."
  GetMenuStringA(GetMenu(main), 9, item, sizeof item, MF_BYCOMMAND);
  EXPECT_EQ("CADEB0BCDEAEDD8FEE95F128265629", Hex(item));  // "ﾊﾞｰｼﾞｮﾝ情報(&V)"
}
