// Window objects: message routing through WndProc, creation failures and
// client-area sizing, with real windows.
#include "app/menu.h"
#include "app/startup.h"
#include "app/window.h"
#include "app/recorder.h"

#include <gtest/gtest.h>

namespace {

const DWORD MainStyle = WS_CLIPSIBLINGS | WS_SYSMENU;

TEST(WindowRouting, ObjectGetsEveryMessageFromCreationOnWithItsOwnHandle) {
  Recorder object;
  HWND window = CreateObjectWindow(&object, 0, TestWindowClass(), "routing", MainStyle, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(object.hwnd, window);

  // WM_NCCREATE and the others before WM_CREATE took default processing
  // (which set the title) without reaching the object.
  ASSERT_FALSE(object.received.empty());
  EXPECT_EQ(object.received[0].message, static_cast<UINT>(WM_CREATE));
  EXPECT_EQ(object.received[0].lParam, reinterpret_cast<LPARAM>(window));
  char title[16] = "";
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "routing");

  ShowWindow(window, SW_SHOW);
  EXPECT_EQ(SendMessageA(window, WM_APP + 1, 2, 3), 0);
  EXPECT_EQ(CloseAndRun(window), 0);
  EXPECT_FALSE(IsWindow(window));

  EXPECT_TRUE(object.Got(WM_SHOWWINDOW));
  EXPECT_TRUE(object.Got(WM_APP + 1));
  EXPECT_TRUE(object.Got(WM_CLOSE));
  EXPECT_TRUE(object.Got(WM_DESTROY));
  EXPECT_TRUE(object.Got(WM_NCDESTROY));
  for (const Received& r : object.received) EXPECT_EQ(r.self, window) << "message " << r.message;
}

TEST(WindowRouting, MessageLoopDispatchesUntilQuitAndReturnsItsCode) {
  Recorder object;
  HWND window = CreateObjectWindow(&object, 0, TestWindowClass(), "loop", MainStyle, nullptr);
  PostMessageA(window, WM_APP + 2, 0, 0);
  PostQuitMessage(7);
  EXPECT_EQ(RunMessageLoop(), 7);
  EXPECT_TRUE(object.Got(WM_APP + 2));
  EXPECT_EQ(CloseAndRun(window), 0);
}

// Creates a window for a fresh object, then leaves with 3 if that returned.
void CreateThenExit3(const char* className, DWORD style, LRESULT createResult) {
  SayOnOrderlyExit();
  TestWindowClass();
  Recorder object;
  object.createResult = createResult;
  CreateObjectWindow(&object, 0, className, "", style, nullptr);
  std::exit(3);
}

TEST(WindowCreation, FailureEndsTheProcessOrderlyWithCodeZero) {
  const testing::ExitedWithCode zero(0);
  EXPECT_EXIT(CreateThenExit3("NoSuchClass", MainStyle, 0), zero, "orderly exit");
  // The object refuses the window at WM_CREATE.
  EXPECT_EXIT(CreateThenExit3(TestWindowClass(), MainStyle, -1), zero, "orderly exit");
  // A window of another procedure is never bound to the object.
  EXPECT_EXIT(CreateThenExit3("STATIC", WS_POPUP, 0), zero, "orderly exit");
}

TEST(WindowClasses, FailedRegistrationEndsTheProcessAtOnceWithCodeZero) {
  EXPECT_EXIT(
      {
        SayOnOrderlyExit();
        AppInstance = GetModuleHandleA(nullptr);
        RegisterWindowClass("MorWin1");
        RegisterWindowClass("MorWin1");  // the class exists already
        std::exit(3);
      },
      testing::ExitedWithCode(0), "^$");
}

TEST(ResizeClient, ClientAreaIsExactWithTheTopLeftCornerKept) {
  const MenuRow bar[] = {{"&File", MF_POPUP}, {"&Open", MenuLevelEnd},
                         {"&Help", MF_POPUP | MenuLevelEnd}, {"&About", MenuLevelEnd}};
  for (bool withMenu : {false, true}) {
    SCOPED_TRACE(withMenu ? "with a menu bar" : "without a menu bar");
    Recorder object;
    HWND window = CreateObjectWindow(&object, WS_EX_CONTROLPARENT, TestWindowClass(), "size",
                                     MainStyle, nullptr);
    MoveWindow(window, 37, 29, 300, 200, FALSE);
    if (withMenu) SetMenu(window, BuildMenu(bar));
    RECT before;
    GetWindowRect(window, &before);

    ResizeClient(&object, 640, 480, FALSE);
    RECT client;
    RECT after;
    GetClientRect(window, &client);
    GetWindowRect(window, &after);
    EXPECT_EQ(client.right - client.left, 640);
    EXPECT_EQ(client.bottom - client.top, 480);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    // The menu bar lies outside the client area.
    EXPECT_GT(after.bottom - after.top - 480, withMenu ? GetSystemMetrics(SM_CYMENU) : 0);
    EXPECT_EQ(CloseAndRun(window), 0);
  }
}

}  // namespace
