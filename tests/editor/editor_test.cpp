// The editor's windows in this process, used as a user would; every save
// compared byte for byte with the model.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <set>

#include "app/startup.h"
#include "asd_version.h"
#include "editor/item_window.h"
#include "editor/main_window.h"
#include "editor/texts.h"
#include "support/model.h"
#include "tools/windriver/windriver.h"

namespace {

const std::string Title = u8"モルダン・ピクセリオン - Save Editor ver " ASD_VERSION_TEXT;

// A label reads whole as it is drawn, in its own font and box: no line wider
// than the box, every line inside its height, and a text with line breaks
// of its own broken nowhere else.
void ExpectWhole(HWND label) {
  const std::string name = WindowText(label);
  const std::wstring text = WideText(name);
  RECT box;
  GetClientRect(label, &box);
  RECT need = box;
  HDC dc = GetDC(label);
  HGDIOBJ was = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  TEXTMETRICW font;
  GetTextMetricsW(dc, &font);
  const UINT drawn = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
  const int height = DrawTextW(dc, text.c_str(), -1, &need, drawn | DT_CALCRECT);
  SelectObject(dc, was);
  ReleaseDC(label, dc);
  EXPECT_LE(need.right - need.left, box.right) << name;
  EXPECT_LE(height, box.bottom) << name;
  const auto breaks = std::count(text.begin(), text.end(), L'\n');
  if (breaks > 0) {
    EXPECT_EQ(breaks + 1, height / font.tmHeight) << name;
  }
}

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
    nameBox = FindWindowExA(main, nullptr, "BUTTON", "NAME");
  }
  void TearDown() override {
    DestroyWindow(main);
    QuitCode();  // the next test's dialogs must not meet this window's quit message
  }
  std::vector<Seen> Command(int id, const std::vector<Answer>& answers = {}) {
    return Answering(main, answers, [&] { SendMessageA(main, WM_COMMAND, id, 0); });
  }
  // Writes bytes at name in the scratch folder and opens it in the dialog.
  std::string Open(const Bytes& bytes, const std::string& name) {
    EXPECT_TRUE(WriteBytes(dir + name, bytes));
    Command(OpenCommandId, {{IDOK, dir + name}});
    return dir + name;
  }
  HWND Item(int id, HWND window = nullptr) { return GetDlgItem(window ? window : main, id); }
  std::string Shown(int id, HWND window = nullptr) { return WindowText(Item(id, window)); }
  void Set(int id, const char* text, HWND window = nullptr) { TypeText(Item(id, window), text); }
  void Click(int id, HWND window = nullptr) { SendMessageA(Item(id, window), BM_CLICK, 0, 0); }
  void Type(int id, const char* keys) {  // at the end of the field, key by key
    for (; *keys; ++keys) SendMessageA(Item(id), WM_CHAR, static_cast<unsigned char>(*keys), 0);
  }
  bool Grayed(UINT item, UINT by) { return GetMenuState(GetMenu(main), item, by) & MF_GRAYED; }
  int QuitCode() {  // among the messages waiting, or -1
    for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);)
      if (m.message == WM_QUIT) return static_cast<int>(m.wParam);
    return -1;
  }
  HWND main;
  HWND items;
  HWND nameBox;
  std::string dir = ScratchDir();
};

}  // namespace

// The program's texts are Shift-JIS bytes; the user reads every title, menu
// item, caption and message in Japanese, in the gothic face, whatever the
// system's code page (this test runs in C.UTF-8 too).
TEST_F(Editor, StartsFreshWithEverythingDisabledAndEveryTextInJapanese) {
  EXPECT_EQ(Title, WindowText(main));
  EXPECT_EQ(u8"アイテム一覧", WindowText(items));
  std::string menu;  // the bar as the user sees it: texts, ids and every state of each item
  HMENU bar = GetMenu(main);
  auto text = [](HMENU menu, int i) {
    wchar_t wide[64] = {};
    GetMenuStringW(menu, i, wide, 64, MF_BYPOSITION);
    return Utf8Text(wide);
  };
  for (int i = 0; i < GetMenuItemCount(bar); ++i) {
    HMENU popup = GetSubMenu(bar, i);
    menu += text(bar, i) + "/" + std::to_string(GetMenuState(bar, i, MF_BYPOSITION) & 0xFF);
    for (int j = 0; j < GetMenuItemCount(popup); ++j) {
      menu += " " + std::to_string(static_cast<int>(GetMenuItemID(popup, j))) + text(popup, j);
      menu += ":" + std::to_string(GetMenuState(popup, j, MF_BYPOSITION));
    }
    menu += "|";
  }
  EXPECT_EQ(
      u8"ﾌｧｲﾙ(&F)/16 1開く(&O)...:0 2上書き保存(&S)...:1 3:2051 4終了(&E):0|編集(&E)/17 "
      u8"6リスト表示(&L):1 7アイテム(&I):0|ヘルプ(&H)/16 9ﾊﾞｰｼﾞｮﾝ情報(&V):0|",
      menu);
  for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    EXPECT_FALSE(IsWindowEnabled(c));
  std::set<std::string> captions;  // of every control but the number fields
  std::function<void(HWND)> walk = [&](HWND window) {
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      LOGFONTW font = {};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof font, &font);
      EXPECT_EQ(WideText(u8"ＭＳ ゴシック"), font.lfFaceName) << WindowText(c);
      char className[16];
      GetClassNameA(c, className, sizeof className);
      if (lstrcmpiA(className, "Edit") != 0) captions.insert(WindowText(c));
      if (lstrcmpiA(className, "Static") == 0) ExpectWhole(c);
      walk(c);
    }
  };
  walk(main);
  walk(items);
  for (const char* caption : {u8"ターン数", u8"座標", u8"アルシオン", u8"まんたん"})
    EXPECT_EQ(1u, captions.count(caption)) << caption;
  EXPECT_EQ("1", Shown(FirstStatId + LevelRow));  // the level's minimum, shown at once
  EXPECT_FALSE(IsWindowVisible(items));

  std::vector<Seen> seen = Command(VersionCommandId);
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(
      u8"モルダン・ピクセリオン Save Editor ver " ASD_VERSION_TEXT u8"\n制作　月影ソフト工房　1997",
      seen[0].text);
  EXPECT_EQ(nullptr, seen[0].icon);
  EXPECT_EQ(std::vector<int>{IDOK}, seen[0].buttons);
  seen = Command(ExitCommandId, {{IDNO, ""}});
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(u8"終了しますか？|確認", seen[0].text + "|" + seen[0].caption);
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
  std::vector<Seen> seen = Command(OpenCommandId, {{IDCANCEL, ""}});  // enables the controls only
  ASSERT_EQ(1u, seen.size());
  EXPECT_FALSE(seen[0].readOnlyBox);  // the editor has no read-only mode to offer
  EXPECT_TRUE(IsWindowEnabled(Item(TurnCountId)));
  EXPECT_TRUE(Grayed(SaveCommandId, MF_BYCOMMAND));
  Click(FirstUnitId + 12);
  EXPECT_EQ(u8"敵", WindowText(nameBox));

  // A namesake that a lossy code page would give the same name stays untouched.
  ASSERT_TRUE(WriteBytes(dir + "cafe\\s1.asd", bytes));
  std::string path = Open(bytes, u8"café\\s1.asd");
  EXPECT_EQ(Title + " (" + path + ")", WindowText(main));
  EXPECT_FALSE(Grayed(SaveCommandId, MF_BYCOMMAND) || Grayed(1, MF_BYPOSITION));
  EXPECT_EQ(u8"アルシオン", WindowText(nameBox));
  GameStateData model = Opened(bytes);
  Set(TurnCountId, "");
  Type(TurnCountId, "54321");  // more digits than the narrow field shows at once
  model.turnCount = 54321;
  Set(FirstSmallValueId + 1, "");
  Type(FirstSmallValueId + 1, "5");
  model.smallValues[1] = 3;
  Click(FirstUnitId + 2);
  ShowUnit(model, 2);
  Set(FirstStatId + LevelRow, "");
  Type(FirstStatId + LevelRow, "0");
  model.statRows[LevelRow][2] = 1;
  Set(YFieldId, "7");
  model.statRows[YRow][2] = 4;
  Set(FirstStatId + HitPointsRow, "480");
  model.statRows[HitPointsRow][2] = 480;
  Click(FirstUnitId + 20);
  ShowUnit(model, 20);
  Set(FirstStatId + AttackRow, "9999");
  model.statRows[AttackRow][20] = 9999;
  Click(EndBoxId);
  model.statRows[EndFlagRow][20] ^= 1;
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
  model.counters[9] = 99;
  Set(FirstCounterId + 50, "5", items);  // a monster's
  model.counters[50] = 5;
  Click(BackButtonId, items);
  EXPECT_FALSE(IsWindowVisible(items));
  EXPECT_TRUE(Command(SaveCommandId).empty());  // no message after a save that worked
  EXPECT_EQ(Stored(bytes, model), ReadBytes(path));
  EXPECT_EQ(bytes, ReadBytes(dir + "cafe\\s1.asd"));
  const std::string backups = dir + u8"café\\asdedit-backups\\";  // the file as it was, first
  EXPECT_EQ(std::vector<Bytes>{bytes}, FolderFiles(backups));

  Command(ItemsCommandId);
  Click(FillButtonId, items);
  std::fill(model.counters, model.counters + CounterCount, 99);
  SendMessageA(items, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4 hides the window and ends nothing
  MSG quit;
  EXPECT_TRUE(IsWindow(items) && !IsWindowVisible(items));
  EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  EXPECT_TRUE(Command(SaveCommandId).empty());  // the file is as the editor wrote it
  EXPECT_EQ(Stored(bytes, model), ReadBytes(path));

  // The game saves into the open file: a later turn, a counter and unit 2's attack, which the
  // player raises too, with another counter; showing unit 1 holds its level 0 to 1, no edit.
  Bytes game = Stored(bytes, model);
  PutWord(game, 364, 54400);
  PutWord(game, CounterOffset(8), 42);
  PutWord(game, StatOffset(AttackRow, 2), 555);
  ASSERT_TRUE(WriteBytes(path, game));
  Set(FirstStatId + AttackRow, "600");
  Set(FirstCounterId + 3, "7", items);
  Click(FirstUnitId + 1);
  Bytes merged = game;  // the edits only, over everything else of the game's
  PutWord(merged, StatOffset(AttackRow, 2), 600);
  PutWord(merged, CounterOffset(3), 7);
  const std::string question =
      path + u8"\nは開いた後でほかのプログラムに変更されています。上書きしますか？|確認";
  for (int answer : {IDCANCEL, IDNO}) {  // N keeps the editor's values; edits only shows the file's
    std::vector<Seen> seen =
        Command(SaveCommandId, {{answer, "", answer == IDCANCEL ? 'n' : '\0'}});
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(question, seen[0].text + "|" + seen[0].caption);
    EXPECT_EQ((std::vector<std::string>{u8"書かない(&N)", u8"すべて書く(&A)",
                                        u8"編集した値だけ書く(&E)"}),
              seen[0].labels);
    EXPECT_EQ(IDCANCEL, seen[0].defaultButton);
    EXPECT_EQ(answer == IDCANCEL ? game : merged, ReadBytes(path));
    EXPECT_EQ(answer == IDCANCEL ? "54321" : "54400", Shown(TurnCountId));
    EXPECT_EQ(answer == IDCANCEL ? "99" : "42", Shown(FirstCounterId + 8, items));
  }
  EXPECT_TRUE(Command(SaveCommandId).empty());  // what the merge wrote is known
  model.turnCount = 54400;
  model.counters[8] = 42;
  model.counters[3] = 7;
  model.statRows[AttackRow][2] = 600;
  ShowUnit(model, 1);
  game = ReadBytes(path);  // changed once more: Yes writes every value the editor holds
  PutWord(game, StatOffset(LevelRow, 30), 77);
  ASSERT_TRUE(WriteBytes(path, game));
  EXPECT_EQ(1u, Command(SaveCommandId, {{IDYES, ""}}).size());
  EXPECT_EQ(Stored(game, model), ReadBytes(path));

  // A drop opens its first file, a name too long to hold refused whole, never cut short; the item
  // window shows the next file's counters.
  Bytes second = SyntheticSave(2);
  PutWord(second, CounterOffset(53), 150);
  const std::string dropped = dir + u8"세이브 데이터 😀\\s2.asd";
  const std::string tooLong = dir + std::string(200, 'd') + "\\" + std::string(60, 'f');
  ASSERT_TRUE(WriteBytes(dropped, second) && WriteBytes(dir + std::string(200, 'd') + "\\x", {}));
  ASSERT_TRUE(WriteBytes("\\\\?\\" + tooLong, second));
  auto drop = [&](const std::string& first, const std::string& next) {
    std::wstring names;  // as the shell makes a drop: the names after a DROPFILES header
    for (const std::string& name : {first, next}) names += WideText(name) + L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + 2 * names.size() + 2);
    DROPFILES* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(files + 1));
    GlobalUnlock(memory);
    auto send = [&] { SendMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0); };
    return Answering(main, {}, send);
  };
  EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  const std::vector<Seen> refused = drop(tooLong, dropped);
  ASSERT_EQ(1u, refused.size());
  EXPECT_EQ(u8"ファイルを開けませんでした。パスが長すぎるかもしれません。", refused[0].text);
  EXPECT_EQ(Title + " (" + path + ")", WindowText(main));
  EXPECT_TRUE(drop(dropped, tooLong).empty());
  EXPECT_EQ(Title + " (" + dropped + ")", WindowText(main));
  model = Opened(second);
  for (int k = 0; k < CounterCount; ++k)
    EXPECT_EQ(std::to_string(model.counters[k]), Shown(FirstCounterId + k, items)) << k;
}

TEST_F(Editor, FailedOpensAndSavesAreReportedAndChangeNothing) {
  Bytes bytes = SyntheticSave(4);
  // A path of 259 UTF-16 units, the most the platform opens, is whole in the title.
  std::string folder = dir + std::string(200 - dir.size(), 'd') + "\\";
  std::string name = std::string(259 - folder.size() - 5, 'f') + u8"é.asd";
  std::string path = Open(bytes, folder.substr(dir.size()) + name);
  std::string title = WindowText(main);
  EXPECT_EQ(Title + " (" + path + ")", title);
  Set(TurnCountId, "999");
  GameStateData model = Opened(bytes);
  model.turnCount = 999;
  HANDLE holder = CreateFileW(WideText(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  std::vector<Seen> seen = Command(SaveCommandId);
  CloseHandle(holder);
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(u8"エラー|上書き保存に失敗しました。", seen[0].caption + "|" + seen[0].text);
  EXPECT_EQ(LoadIconA(nullptr, IDI_ERROR), seen[0].icon);
  EXPECT_EQ(bytes, ReadBytes(path));

  Bytes foreign = bytes;
  foreign[100] ^= 0x20;
  ASSERT_TRUE(WriteBytes(dir + u8"表ソ 能\\foreign.asd", foreign));
  ASSERT_TRUE(WriteBytes(dir + "held.asd", bytes));
  HANDLE held = CreateFileW(WideText(dir + "held.asd").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);  // another program holds it
  for (std::string refused : {u8"表ソ 能\\foreign.asd", "held.asd"}) {
    seen = Command(OpenCommandId, {{IDOK, dir + refused}});
    ASSERT_EQ(2u, seen.size()) << refused;
    EXPECT_EQ(u8"エラー", seen[1].caption);
    EXPECT_EQ(0u, seen[1].text.find(dir + refused + "\n")) << seen[1].text;  // named exactly
    EXPECT_EQ(title, WindowText(main));
  }
  CloseHandle(held);
  EXPECT_TRUE(Command(SaveCommandId).empty());  // still the file opened before, backed up too
  EXPECT_EQ(Stored(bytes, model), ReadBytes(path));
}

// A save backs the file up first as it was; the first backup after an open stays beside the newest
// 20, and nothing else of the folder goes. Without a backup the user decides, by default for
// nothing written.
TEST_F(Editor, BacksUpEverySaveAndAsksWhereNoBackupCanBeMade) {
  const std::string path = Open(SyntheticSave(9, true), "s1.asd");
  const std::string folder = dir + "asdedit-backups\\";
  const Bytes other = {'x'};
  // The player's copy of a backup, in Explorer's naming: not the editor's.
  ASSERT_TRUE(WriteBytes(folder + u8"s1.asd.0001.2000-01-01_00-00-00 - コピー.bak", other));
  std::vector<Bytes> kept = {other};
  for (int i = 0; i < 22; ++i) {
    if (i != 1) kept.push_back(ReadBytes(path));
    Set(TurnCountId, std::to_string(100 + i).c_str());
    ASSERT_TRUE(Command(SaveCommandId).empty()) << i;
  }
  EXPECT_EQ(kept, FolderFiles(folder));

  const Bytes second = SyntheticSave(10, true);
  ASSERT_TRUE(WriteBytes(dir + "blocked\\asdedit-backups", other));  // a file in the folder's place
  const std::string blocked = Open(second, "blocked\\s2.asd");
  GameStateData model = Opened(second);
  Set(TurnCountId, "5");
  model.turnCount = 5;
  std::vector<Seen> seen = Command(SaveCommandId, {{IDNO, ""}});
  ASSERT_EQ(1u, seen.size());
  const std::regex question(
      u8"バックアップを作れませんでした（.+）。バックアップなしで書きますか？\\|確認");
  EXPECT_TRUE(std::regex_match(seen[0].text + "|" + seen[0].caption, question)) << seen[0].text;
  EXPECT_EQ(LoadIconA(nullptr, IDI_WARNING), seen[0].icon);
  EXPECT_EQ((std::vector<int>{IDYES, IDNO}), seen[0].buttons);
  EXPECT_EQ(IDNO, seen[0].defaultButton);
  EXPECT_EQ(second, ReadBytes(blocked));
  EXPECT_EQ(1u, Command(SaveCommandId, {{IDYES, ""}}).size());
  EXPECT_EQ(Stored(second, model), ReadBytes(blocked));
  EXPECT_EQ(other, ReadBytes(dir + "blocked\\asdedit-backups"));
}
