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

// The editor program, started for one test and ended by its exit command.
class RunningEditor : public EditorProgramTest {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(EditorProgramTest::SetUp());
    path = ScratchDir() + "game.asd";
    original = SyntheticSave(31);
    ASSERT_TRUE(WriteFileBytes(path, original));
  }

  void TearDown() override { EXPECT_EQ(0u, ExitEditor(editor)); }

  // "上書き保存(&S)..." that must fail: the error box is modal, owned by the
  // main window, and goes away when its OK is pressed.
  void SaveFails(const char* what) {
    SCOPED_TRACE(what);
    std::string title = WindowText(editor.main);
    PostMessageA(editor.main, WM_COMMAND, 2, 0);
    HWND box = WaitForOwnedDialog(editor.main, 10000);
    ASSERT_NE(nullptr, box) << "no message after a failed save";
    Sleep(20);
    EXPECT_FALSE(IsWindowEnabled(editor.main));
    DialogStep ok = {IDOK, ""};
    SeenDialog seen = HandleDialog(box, &ok);
    EXPECT_EQ(SaveFailedText, seen.text);
    EXPECT_EQ(SaveFailedCaption, seen.caption);
    EXPECT_TRUE(seen.icon != nullptr);
    EXPECT_TRUE(seen.buttons[IDOK] && !seen.buttons[IDCANCEL]);
    EXPECT_TRUE(seen.closed);
    Settle(editor);
    EXPECT_TRUE(IsWindowEnabled(editor.main));
    EXPECT_EQ(nullptr, FindOwnedDialog(editor.main));
    EXPECT_EQ(title, WindowText(editor.main));
  }

  // A save that works: no message, and the file holds the values shown.
  void SaveWorks() {
    EXPECT_TRUE(SaveInEditor(editor)) << "a message after a save that worked";
    GameStateData shown = StateOf(original);
    ClampShown(shown);
    ClampUnit(shown, 0);
    EXPECT_EQ(Stored(original, shown), ReadFileBytes(path));
  }

  std::string path;
  Bytes original;
};

Bytes Prefix(const Bytes& bytes, std::size_t length) { return Bytes(bytes.begin(), bytes.begin() + length); }

}  // namespace

TEST_F(RunningEditor, SaveIntoAFileHeldOpenOrReplacedByADirectoryIsRefusedAndReported) {
  ASSERT_TRUE(OpenInEditor(editor, path)) << WindowText(editor.main);

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
  ASSERT_TRUE(OpenInEditor(editor, path)) << WindowText(editor.main);
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
