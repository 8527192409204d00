// The window procedure, window classes and client-area sizing.
#include "app/window.h"

#include "app/startup.h"
#include "app/text.h"

#if defined(_MSC_VER) && defined(_M_IX86)
#pragma comment(linker, "/EXPORT:WndProc=_WndProc@16")
#endif

// Hands each message to the window's object; messages that come before
// WM_CREATE find no object and take default processing.
extern "C" __declspec(dllexport) LRESULT CALLBACK
    WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* object = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, 0));
  if (object) return object->HandleMessage(message, wParam, lParam);
  if (message == WM_CREATE) {
    object = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (object) {
      SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(object));
      // Bound here, not when CreateWindowExW returns: the object's default
      // processing needs its own handle from this message on.
      object->hwnd = hwnd;
      return object->HandleMessage(message, wParam, reinterpret_cast<LPARAM>(hwnd));
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Object windows are Unicode windows, so that every text (the program's own
// and a path of any characters in a title) reaches them whole.
void RegisterWindowClass(const char* className) {
  wchar_t name[TextUnits];
  ToWide(className, CP_UTF8, name, TextUnits);  // ASCII, the same in every code page
  WNDCLASSW record = {};
  record.style = CS_CLASSDC | CS_BYTEALIGNCLIENT;  // 0x1040
  record.lpfnWndProc = WndProc;
  record.cbClsExtra = 0;
  record.cbWndExtra = sizeof(LONG_PTR);  // the object pointer, by SetWindowLongPtrW
  record.hInstance = AppInstance;
  record.hIcon = LoadIconW(AppInstance, MAKEINTRESOURCEW(1));
  record.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  record.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  record.lpszMenuName = nullptr;
  record.lpszClassName = name;
  if (!RegisterClassW(&record)) EndFailedStart(false);
}

HWND CreateObjectWindow(Window* object, DWORD exStyle, const char* className, const char* title,
                        DWORD style, HWND owner) {
  wchar_t wideClass[TextUnits];
  ToWide(className, CP_UTF8, wideClass, TextUnits);  // ASCII, as registered
  HWND hwnd =
      CreateWindowExW(exStyle, wideClass, ProgramText(title), style, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, AppInstance, object);
  // A window that WndProc did not bind to the object (a class with another
  // procedure) would never reach it: that is a failed creation too.
  if (!hwnd || hwnd != object->hwnd) EndFailedStart(true);
  return hwnd;
}

void ResizeClient(Window* object, int width, int height, BOOL repaint) {
  RECT outer;
  RECT client;
  GetWindowRect(object->hwnd, &outer);
  GetClientRect(object->hwnd, &client);
  int frameWidth = (outer.right - outer.left) - (client.right - client.left);
  int frameHeight = (outer.bottom - outer.top) - (client.bottom - client.top);
  MoveWindow(object->hwnd, outer.left, outer.top, width + frameWidth, height + frameHeight,
             repaint);
}
