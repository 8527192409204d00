// The editor's windows in this process, used as a user would; every save
// compared byte for byte with the model.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "app/startup.h"
#include "editor/item_window.h"
#include "editor/main_window.h"
#include "editor/texts.h"
#include "support/model.h"
#include "support/user.h"

namespace {

class Editor : public ::testing::Test {
protected:
  void SetUp() override {
    AppInstance = GetModuleHandleA(nullptr);
    UnregisterClassA(ItemWindowClassName, AppInstance);  // each main window registers it
    WNDCLASSA record;
    if (!GetClassInfoA(AppInstance, MainWindowClassName, &record))
      RegisterWindowClass(MainWindowClassName);
    MorWin0* object = new MorWin0;
    main = object->hwnd;
    items = object->itemWindow->hwnd;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) nameBox = child;
  }
  void TearDown() override { DestroyWindow(main); }
  std::vector<Seen> Command(int id, std::vector<Answer> answers = {}) {
    return Answering(main, answers, [&] { SendMessageA(main, WM_COMMAND, id, 0); });
  }
  // Writes bytes into the scratch folder and opens the file in the dialog.
  std::string Open(const Bytes& bytes, const std::string& name = "s1.asd") {
    EXPECT_TRUE(WriteBytes(dir + name, bytes));
    Command(OpenCommandId, {{IDOK, dir + name}});
    return dir + name;
  }
  std::string Shown(int id, HWND window = nullptr) {
    return Text(GetDlgItem(window ? window : main, id));
  }
  void Set(int id, const char* text, HWND window = nullptr) {
    SetWindowTextA(GetDlgItem(window ? window : main, id), text);
  }
  void Click(int id, HWND window = nullptr) {
    SendMessageA(GetDlgItem(window ? window : main, id), BM_CLICK, 0, 0);
  }
  void Type(int id, const char* keys) {  // at the end of the field, key by key
    for (; *keys; ++keys)
      SendMessageA(GetDlgItem(main, id), WM_CHAR, static_cast<unsigned char>(*keys), 0);
  }
  bool Grayed(UINT item, UINT by) { return GetMenuState(GetMenu(main), item, by) & MF_GRAYED; }
  int QuitCode() {  // among the messages waiting, or -1
    for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);)
      if (m.message == WM_QUIT) return static_cast<int>(m.wParam);
    return -1;
  }
  HWND main, items, nameBox = nullptr;
  std::string dir = ScratchDir();
};

}  // namespace

TEST_F(Editor, StartsFreshWithEverythingDisabledAndItsTextsInShiftJis) {
  EXPECT_EQ(
      "\x83\x82\x83\x8B\x83_\x83\x93\x81\x45\x83s\x83N\x83Z\x83\x8A\x83I\x83\x93 - Save Editor ver "
      "0.5",
      Text(main));   // the title, byte for byte
  std::string menu;  // the bar as the user sees it: texts, ids, grayed items
  for (int i = 0; i < GetMenuItemCount(GetMenu(main)); ++i) {
    HMENU popup = GetSubMenu(GetMenu(main), i);
    char text[64];
    GetMenuStringA(GetMenu(main), i, text, sizeof text, MF_BYPOSITION);
    menu += std::string(text) + (Grayed(i, MF_BYPOSITION) ? "-[" : "[");
    for (int j = 0; j < GetMenuItemCount(popup); ++j) {
      UINT state = GetMenuState(popup, j, MF_BYPOSITION);
      menu += state & MF_SEPARATOR
                  ? "| "
                  : std::to_string(GetMenuItemID(popup, j)) + (state & MF_GRAYED ? "- " : " ");
    }
    menu += "] ";
  }
  EXPECT_EQ(std::string(FileMenuText) + "[1 2- | 4 ] " + EditMenuText + "-[6- 7 ] " + HelpMenuText +
                "[9 ] ",
            menu);
  for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    EXPECT_FALSE(IsWindowEnabled(c));
  EXPECT_EQ("1", Shown(FirstStatId + LevelRow));  // the level's minimum, shown at once
  EXPECT_EQ("NAME", Text(nameBox));
  EXPECT_FALSE(IsWindowVisible(items));
  EXPECT_EQ(main, GetWindow(items, GW_OWNER));

  std::vector<Seen> seen = Command(VersionCommandId);
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(
      "\x83\x82\x83\x8B\x83_\x83\x93\x81\x45\x83s\x83N\x83Z\x83\x8A\x83I\x83\x93 Save Editor ver "
      "0.5\x0A"
      "\x90\xA7\x8D\xEC\x81@\x8C\x8E\x89\x65\x83\x5C\x83t\x83g\x8DH\x96[\x81@1997",
      seen[0].text);  // the version text, byte for byte
  EXPECT_TRUE(seen[0].icon == nullptr && seen[0].buttons == std::vector<int>{IDOK});
  seen = Command(ExitCommandId, {{IDNO, ""}});
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(std::string(ExitQuestion) + "|" + ExitCaption, seen[0].text + "|" + seen[0].caption);
  EXPECT_EQ((std::vector<int>{IDYES, IDNO}), seen[0].buttons);
  EXPECT_EQ(-1, QuitCode());
}

TEST_F(Editor, OpensEditsUnitsAndCountersAndSavesExactlyThat) {
  Bytes bytes = SyntheticSave(1, true);
  PutWord(bytes, StatOffset(LevelRow, 0), 0);
  PutWord(bytes, StatOffset(XRow, 0), 12);
  PutWord(bytes, StatOffset(LevelRow, 1), 0);  // unit 1 is never shown: it keeps its 0
  PutWord(bytes, 532, 4);
  PutWord(bytes, CounterOffset(50), 100);
  EXPECT_EQ(1u,
            Command(OpenCommandId, {{IDCANCEL, ""}}).size());  // enables the controls, nothing else
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, TurnCountId)) &&
              Grayed(SaveCommandId, MF_BYCOMMAND));
  Click(FirstUnitId + 12);
  EXPECT_EQ(EnemyName, Text(nameBox));

  std::string path = Open(bytes);
  EXPECT_EQ(std::string(MainWindowTitle) + " (" + path + ")", Text(main));
  EXPECT_FALSE(Grayed(SaveCommandId, MF_BYCOMMAND) || Grayed(1, MF_BYPOSITION));
  EXPECT_EQ(HeroNames[0], Text(nameBox));
  GameStateData model = Opened(bytes);
  Set(TurnCountId, "40000");
  model.turnCount = 40000;
  Set(FirstSmallValueId + 1, "");
  Type(FirstSmallValueId + 1, "5");
  model.smallValues[1] = 3;
  Click(FirstUnitId + 2);
  EXPECT_EQ(HeroNames[2], Text(nameBox));
  ShowUnit(model, 2);
  Set(FirstStatId + LevelRow, "");
  Type(FirstStatId + LevelRow, "0");
  Set(YFieldId, "7");
  Set(FirstStatId + HitPointsRow, "480");
  model.statRows[LevelRow][2] = 1, model.statRows[YRow][2] = 4,
  model.statRows[HitPointsRow][2] = 480;
  Click(FirstUnitId + 20);
  ShowUnit(model, 20);
  Set(FirstStatId + AttackRow, "9999");
  Click(EndBoxId);
  model.statRows[AttackRow][20] = 9999, model.statRows[EndFlagRow][20] ^= 1;
  Click(LastUnitId);
  ShowUnit(model, 49);
  SendMessageA(main, WM_COMMAND, FirstUnitId - 1, 0);  // no unit: the selection stays
  SendMessageA(main, WM_COMMAND, LastUnitId + 1, 0);
  Set(ChargeFieldId, "65535");
  model.statRows[ChargeRow][49] = 65535;
  Click(FirstUnitId + 2);
  EXPECT_EQ("480", Shown(FirstStatId + HitPointsRow));  // a unit keeps its edits

  Command(ItemsCommandId);
  EXPECT_TRUE(IsWindowVisible(items));
  Set(FirstCounterId + 9, "100", items);
  EXPECT_EQ("99", Shown(FirstCounterId + 9, items));
  Set(FirstCounterId + 50, "5", items);  // a monster's
  Click(BackButtonId, items);
  EXPECT_FALSE(IsWindowVisible(items));
  EXPECT_TRUE(Command(SaveCommandId).empty());  // no message after a save that worked
  model.counters[9] = 99, model.counters[50] = 5;
  EXPECT_EQ(Stored(bytes, model), ReadBytes(path));

  Command(ItemsCommandId);
  Click(FillButtonId, items);
  std::fill(model.counters, model.counters + CounterCount, 99);
  Command(SaveCommandId);
  EXPECT_EQ(Stored(bytes, model), ReadBytes(path));
  Bytes second = SyntheticSave(2);  // the item window shows the next file's counters
  PutWord(second, CounterOffset(53), 150);
  Open(second, "s2.asd");
  model = Opened(second);
  for (int k = 0; k < CounterCount; ++k)
    EXPECT_EQ(std::to_string(model.counters[k]), Shown(FirstCounterId + k, items)) << k;
}

TEST_F(Editor, FailedOpensAndSavesAreReportedAndChangeNothing) {
  Bytes bytes = SyntheticSave(4), foreign = SyntheticSave(5), other(ModelLength, 'x');
  foreign[100] ^= 0x20;
  std::string folder =
      dir + std::string(200 - dir.size(), 'd') + "\\";  // a path of 259 bytes, whole in the title
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  std::string path =
      Open(bytes, folder.substr(dir.size()) + std::string(259 - folder.size() - 4, 'f') + ".asd");
  std::string title = Text(main);
  EXPECT_EQ(std::string(MainWindowTitle) + " (" + path + ")", title);
  Set(TurnCountId, "999");
  GameStateData model = Opened(bytes);
  model.turnCount = 999;
  HANDLE holder =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  std::vector<Seen> seen = Command(SaveCommandId);
  CloseHandle(holder);
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(std::string(ErrorCaption) + "|" + SaveFailedText, seen[0].caption + "|" + seen[0].text);
  EXPECT_EQ(LoadIconA(nullptr, IDI_ERROR), seen[0].icon);
  EXPECT_EQ(bytes, ReadBytes(path));
  ASSERT_TRUE(WriteBytes(path, other));  // replaced by another file, then gone
  EXPECT_EQ(1u, Command(SaveCommandId).size());
  EXPECT_EQ(other, ReadBytes(path));
  DeleteFileA(path.c_str());
  EXPECT_EQ(1u, Command(SaveCommandId).size());
  EXPECT_TRUE(ReadBytes(path).empty());

  Bytes cut = bytes;
  cut.resize(ModelLength - 1);
  ASSERT_TRUE(WriteBytes(dir + "foreign.asd", foreign) && WriteBytes(dir + "cut.asd", cut) &&
              WriteBytes(dir + "held.asd", bytes));
  HANDLE held =
      CreateFileA((dir + "held.asd").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  for (auto refused : {std::make_pair("foreign.asd", NotSaveFileFormat),
                       {"cut.asd", FileTooShortFormat},
                       {"held.asd", OpenFailedFormat}}) {
    seen = Command(OpenCommandId, {{IDOK, dir + refused.first}});
    char text[1024];
    wsprintfA(text, refused.second, (dir + refused.first).c_str());
    ASSERT_EQ(2u, seen.size()) << refused.first;
    EXPECT_EQ(std::string(ErrorCaption) + "|" + text, seen[1].caption + "|" + seen[1].text);
    EXPECT_EQ(title, Text(main));
  }
  CloseHandle(held);
  ASSERT_TRUE(WriteBytes(path, bytes));
  EXPECT_TRUE(Command(SaveCommandId).empty());
  EXPECT_EQ(Stored(bytes, model), ReadBytes(path));
}

TEST_F(Editor, ADropOpensItsFirstFile) {
  std::string path = dir + "dropped.asd", folder = dir + std::string(200, 'd'),
              tooLong = folder + "\\" + std::string(60, 'f');
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) && WriteBytes(path, SyntheticSave(7)));
  ASSERT_TRUE(
      WriteBytes("\\\\?\\" + tooLong, SyntheticSave(8)));  // a save file, too long a name to hold
  auto drop =
      [&](std::string names) {  // a drop as the shell makes it: the names after a DROPFILES header
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() + 1);
        DROPFILES* files = static_cast<DROPFILES*>(GlobalLock(memory));
        files->pFiles = sizeof(DROPFILES);
        std::copy(names.begin(), names.end(), reinterpret_cast<char*>(files + 1));
        GlobalUnlock(memory);
        return Answering(main, {}, [&] {
          SendMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
        });
      };
  EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_EQ(1u, drop(tooLong + '\0' + path + '\0').size());  // refused whole, never cut short
  EXPECT_EQ(MainWindowTitle, Text(main));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, TurnCountId)));
  EXPECT_TRUE(drop(path + '\0' + tooLong + '\0').empty());
  EXPECT_EQ(std::string(MainWindowTitle) + " (" + path + ")", Text(main));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, TurnCountId)));
}

TEST_F(Editor, ExitOnYesAndTheCloseBoxBothEndWithCodeZero) {
  EXPECT_EQ(1u, Command(ExitCommandId, {{IDYES, ""}}).size());
  EXPECT_FALSE(IsWindow(main) || IsWindow(items));
  EXPECT_EQ(0, QuitCode());
  SetUp();
  EXPECT_TRUE(Answering(main, {}, [&] { SendMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0); }).empty());
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(0, QuitCode());
}
