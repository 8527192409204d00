// A fresh main window in the test's own process for every test, with a user
// at its dialogs.
#ifndef ASDEDIT_TESTS_EDITOR_FIXTURE_H
#define ASDEDIT_TESTS_EDITOR_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/startup.h"
#include "editor/harness.h"
#include "editor/item_window.h"
#include "editor/main_window.h"
#include "editor/texts.h"
#include "support/testsupport.h"

class EditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    static bool registered = false;
    if (!registered) {
      AppInstance = GetModuleHandleA(nullptr);
      RegisterWindowClass(MainWindowClassName);
      registered = true;
    }
    GameState = GameStateData();
    editor = new MorWin0();
    main = editor->hwnd;
    items = editor->itemWindow->hwnd;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) NameBox = child;
    dir = ScratchDir();
  }

  void TearDown() override {
    if (IsWindow(main)) DestroyWindow(main);
    QuitCode();
    // The next test's main window registers the item window class again.
    UnregisterClassA("MorWin1", AppInstance);
  }

  // Sends a command as the menu does; the dialogs it opens get the steps.
  std::vector<SeenDialog> Command(int id, std::vector<DialogStep> steps = {}) {
    DialogUser user(main, steps);
    SendMessageA(main, WM_COMMAND, id, 0);
    return user.Finish();
  }

  // Opens path through the open dialog; true when the dialog took it.
  bool Open(const std::string& path) {
    std::vector<SeenDialog> seen = Command(1, {{IDOK, path}});
    return seen.size() == 1 && seen[0].closed;
  }

  // Writes bytes to name in the scratch directory and opens it.
  std::string OpenNew(const Bytes& bytes, const char* name = "game1.asd") {
    std::string path = dir + name;
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    EXPECT_TRUE(Open(path));
    return path;
  }

  HWND Control(int id, HWND window = nullptr) { return GetDlgItem(window ? window : main, id); }
  std::string Text(int id, HWND window = nullptr) { return WindowText(Control(id, window)); }
  void Click(int id, HWND window = nullptr) { SendMessageA(Control(id, window), BM_CLICK, 0, 0); }
  void SetText(int id, const char* text, HWND window = nullptr) {
    SendMessageA(Control(id, window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  // Types text at the end of a field, one character at a time.
  void Type(int id, const char* text, HWND window = nullptr) {
    HWND field = Control(id, window);
    for (const char* c = text; *c; ++c) {
      int end = GetWindowTextLengthA(field);
      SendMessageA(field, EM_SETSEL, end, end);
      SendMessageA(field, WM_CHAR, static_cast<unsigned char>(*c), 0);
    }
  }

  // Handles the messages waiting for this thread; the code of a quit
  // message among them, or -1 when there is none.
  int QuitCode() {
    MSG message;
    int code = -1;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT)
        code = static_cast<int>(message.wParam);
      else
        DispatchMessageA(&message);
    }
    return code;
  }

  MorWin0* editor = nullptr;
  HWND main = nullptr;
  HWND items = nullptr;
  HWND NameBox = nullptr;  // the panel along the bottom
  std::string dir;
};

#endif
