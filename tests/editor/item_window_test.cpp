// The item window in the test's own process: its grid, its two buttons and
// how the main window shows and refreshes it.
#include <cstring>
#include <string>
#include <vector>

#include "editor/fixture.h"
#include "editor/item_window.h"

namespace {

// The tile at the given place in the item window, or null.
HWND TileAt(HWND window, long x, long y) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetDlgCtrlID(child) == 0 && Placement(child) == std::vector<long>{x, y, 62, 62}) return child;
  return nullptr;
}

}  // namespace

TEST_F(EditorTest, ItemWindowIsAHiddenGridOwnedByTheMainWindow) {
  char name[16] = {};
  GetClassNameA(items, name, sizeof name);
  EXPECT_STREQ("MorWin1", name);
  EXPECT_EQ("アイテム一覧", WindowText(items));
  LONG style = GetWindowLongA(items, GWL_STYLE);
  EXPECT_EQ(WS_CLIPSIBLINGS | WS_DLGFRAME, style & (WS_CLIPSIBLINGS | WS_DLGFRAME | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE));
  EXPECT_TRUE(GetWindowLongA(items, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  RECT client;
  GetClientRect(items, &client);
  EXPECT_EQ(640, client.right);
  EXPECT_EQ(480, client.bottom);

  // Filled column by column, each field in its tile's lower right corner.
  EXPECT_EQ((std::vector<long>{33, 41, 28, 20}), Placement(Control(1, items)));
  EXPECT_EQ((std::vector<long>{33, 361, 28, 20}), Placement(Control(6, items)));
  EXPECT_EQ((std::vector<long>{97, 41, 28, 20}), Placement(Control(7, items)));
  EXPECT_EQ((std::vector<long>{545, 361, 28, 20}), Placement(Control(54, items)));
  EXPECT_EQ(nullptr, Control(55, items));
  HWND first = TileAt(items, 1, 1);
  HWND last = TileAt(items, 513, 321);
  ASSERT_TRUE(first && last);
  EXPECT_EQ(ItemLabels[0], WindowText(first));
  EXPECT_EQ(ItemLabels[53], WindowText(last));
  EXPECT_EQ(ItemLabels[6], WindowText(TileAt(items, 65, 1)));

  EXPECT_EQ((std::vector<long>{580, 196, 56, 184}), Placement(Control(56, items)));
  EXPECT_EQ("もどる", Text(56, items));
  EXPECT_EQ((std::vector<long>{4, 388, 632, 88}), Placement(Control(57, items)));
  EXPECT_EQ("まんたん", Text(57, items));
  bool side = false;
  for (HWND child = GetWindow(items, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (Placement(child) == std::vector<long>{576, 56, 64, 80})
      side = Hex(WindowText(child)) == "83418343836583808140814081408140814088EA979781408140814081408140826C826E82638264";
  EXPECT_TRUE(side);  // "アイテム", five ideographic spaces, "一覧", five more, "ＭＯＤＥ"
}

TEST_F(EditorTest, ItemWindowEditsHidesAndFillsTheCounters) {
  Bytes bytes = SyntheticSave(11);
  std::string path = OpenNew(bytes);
  Command(7);
  EXPECT_TRUE(IsWindowVisible(items));

  SetText(10, "", items);
  Type(10, "100", items);
  EXPECT_EQ(99, GameState.counters[9]);
  EXPECT_EQ("99", Text(10, items));
  SetText(43, "5", items);
  EXPECT_EQ(5, GameState.counters[42]);

  Click(56, items);
  EXPECT_FALSE(IsWindowVisible(items));
  EXPECT_EQ(5, GameState.counters[42]);
  Command(7);
  EXPECT_TRUE(IsWindowVisible(items));
  EXPECT_EQ("5", Text(43, items));

  GameStateData before = GameState;
  Click(57, items);
  for (int k = 0; k < CounterCount; ++k) {
    EXPECT_EQ(99, GameState.counters[k]) << k;
    EXPECT_EQ("99", Text(k + 1, items)) << k;
  }
  EXPECT_EQ(0, std::memcmp(before.statRows, GameState.statRows, sizeof before.statRows));

  EXPECT_TRUE(Command(2).empty());
  Bytes saved = ReadFileBytes(path);
  for (int k = 0; k < CounterCount; ++k) EXPECT_EQ(99, WordAt(saved, CounterOffset(k))) << k;
  EXPECT_EQ(Stored(bytes, GameState), saved);
}

TEST_F(EditorTest, SecondOpenRefreshesTheVisibleItemWindow) {
  OpenNew(SyntheticSave(12));
  Command(7);
  Bytes second = SyntheticSave(13);
  PutWord(second, CounterOffset(0), 17);
  PutWord(second, CounterOffset(53), 64);
  OpenNew(second, "game2.asd");

  EXPECT_TRUE(IsWindowVisible(items));
  EXPECT_EQ("17", Text(1, items));
  EXPECT_EQ("64", Text(54, items));
  GameStateData expected = StateOf(second);
  ClampShown(expected);
  for (int k = 0; k < CounterCount; ++k) EXPECT_EQ(std::to_string(expected.counters[k]), Text(k + 1, items)) << k;
}

TEST_F(EditorTest, ItemWindowIgnoresCommandsWithoutAControlAndEndsTheEditorWhenDestroyed) {
  OpenNew(SyntheticSave(14));
  GameStateData before = GameState;
  SendMessageA(items, WM_COMMAND, 55, 0);
  SendMessageA(items, WM_COMMAND, 3, 0);
  EXPECT_EQ(0, std::memcmp(&before, &GameState, sizeof before));

  DestroyWindow(items);
  EXPECT_EQ(0, QuitCode());
}
