// The editor program saving a file that changed under it after it was opened:
// held open by another program, cut short, or replaced by a directory. Each
// time the user is told in an error box owned by the main window, and no byte
// on disk changes; once the file is back, saving works again, silently.
#include <gtest/gtest.h>

#include <string>

#include "editor/harness.h"
#include "support/testsupport.h"

namespace {

const char SaveFailedText[] = "上書き保存に失敗しました。";
const char SaveFailedCaption[] = "エラー";

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM data) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner != search->processId || std::string(name) != "MorWin0" || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

// The editor program, started for one test and ended by its exit command.
class RunningEditor : public ::testing::Test {
protected:
  void SetUp() override {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = std::string("\"") + ASDEDIT_PATH + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    WindowSearch search = {process.dwProcessId, nullptr};
    for (DWORD start = GetTickCount(); !search.found && GetTickCount() - start < 10000; Sleep(10))
      EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    main = search.found;
    ASSERT_NE(nullptr, main);
    path = ScratchDir() + "game.asd";
    original = SyntheticSave(31);
    ASSERT_TRUE(WriteFileBytes(path, original));
  }

  void TearDown() override {
    DWORD code = 0xDEAD;
    PostMessageA(main, WM_COMMAND, 4, 0);  // "終了(&E)", answered Yes
    if (HWND box = WaitForOwnedDialog(main, 10000)) {
      DialogStep yes = {IDYES, ""};
      HandleDialog(box, &yes);
      if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    }
    if (code == 0xDEAD) TerminateProcess(process.hProcess, 1);
    EXPECT_EQ(0u, code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }

  // Waits until the editor has handled everything posted to it before.
  void Settle() {
    DWORD_PTR result;
    SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
  }

  // "開く(&O)..." with path typed into the open dialog.
  void Open() {
    PostMessageA(main, WM_COMMAND, 1, 0);
    HWND dialog = WaitForOwnedDialog(main, 10000);
    ASSERT_NE(nullptr, dialog);
    Sleep(20);
    DialogStep step = {IDOK, path};
    ASSERT_TRUE(HandleDialog(dialog, &step).closed);
    std::string title = "モルダン・ピクセリオン - Save Editor ver 0.5 (" + path + ")";
    for (DWORD start = GetTickCount(); WindowText(main) != title && GetTickCount() - start < 10000;) Sleep(5);
    ASSERT_EQ(title, WindowText(main));
    Settle();
  }

  // "上書き保存(&S)..." that must fail: the error box is modal, owned by the
  // main window, and goes away when its OK is pressed.
  void SaveFails(const char* what) {
    SCOPED_TRACE(what);
    std::string title = WindowText(main);
    PostMessageA(main, WM_COMMAND, 2, 0);
    HWND box = WaitForOwnedDialog(main, 10000);
    ASSERT_NE(nullptr, box) << "no message after a failed save";
    Sleep(20);
    EXPECT_FALSE(IsWindowEnabled(main));
    DialogStep ok = {IDOK, ""};
    SeenDialog seen = HandleDialog(box, &ok);
    EXPECT_EQ(SaveFailedText, seen.text);
    EXPECT_EQ(SaveFailedCaption, seen.caption);
    EXPECT_TRUE(seen.icon != nullptr);
    EXPECT_TRUE(seen.buttons[IDOK] && !seen.buttons[IDCANCEL]);
    EXPECT_TRUE(seen.closed);
    Settle();
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(nullptr, FindOwnedDialog(main));
    EXPECT_EQ(title, WindowText(main));
  }

  // A save that works: no message, and the file holds the values shown.
  void SaveWorks() {
    DWORD_PTR result;
    SendMessageTimeoutA(main, WM_COMMAND, 2, 0, SMTO_NORMAL, 5000, &result);
    if (HWND box = FindOwnedDialog(main)) {
      ADD_FAILURE() << "a message after a save that worked: " << WindowText(GetDlgItem(box, MessageBoxTextId));
      DialogStep ok = {IDOK, ""};
      HandleDialog(box, &ok);
    }
    GameStateData shown = StateOf(original);
    ClampShown(shown);
    ClampUnit(shown, 0);
    EXPECT_EQ(Stored(original, shown), ReadFileBytes(path));
  }

  PROCESS_INFORMATION process = {};
  HWND main = nullptr;
  std::string path;
  Bytes original;
};

Bytes Prefix(const Bytes& bytes, std::size_t length) { return Bytes(bytes.begin(), bytes.begin() + length); }

}  // namespace

TEST_F(RunningEditor, SaveIntoAFileHeldOpenOrReplacedByADirectoryIsRefusedAndReported) {
  ASSERT_NO_FATAL_FAILURE(Open());

  // This test is the other program: it reads the file and shares it for reading only.
  HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, reader);
  SaveFails("held open for reading");
  CloseHandle(reader);
  EXPECT_EQ(original, ReadFileBytes(path));

  ASSERT_TRUE(DeleteFileA(path.c_str()));
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
  SaveFails("a directory at the path");
  EXPECT_TRUE(RemoveDirectoryA(path.c_str())) << "the directory is gone or not empty";

  ASSERT_TRUE(WriteFileBytes(path, original));
  SaveWorks();
}

TEST_F(RunningEditor, SaveIntoAFileCutShortIsRefusedAndNeverGrowsIt) {
  ASSERT_NO_FATAL_FAILURE(Open());
  // Empty; the two records only; one byte short of the last value region.
  for (std::size_t length : {std::size_t(0), std::size_t(128), std::size_t(SaveFileMinLength - 1)}) {
    Bytes cut = Prefix(original, length);
    ASSERT_TRUE(WriteFileBytes(path, cut));
    SaveFails(("cut to " + std::to_string(length) + " bytes").c_str());
    EXPECT_EQ(cut, ReadFileBytes(path)) << length;
  }
  ASSERT_TRUE(WriteFileBytes(path, original));
  SaveWorks();
}
