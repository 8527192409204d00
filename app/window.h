// Window objects: every top-level window is the visible half of an object
// whose one virtual operation receives the window's messages.
#ifndef ASDEDIT_APP_WINDOW_H
#define ASDEDIT_APP_WINDOW_H

#include <windows.h>

class Window {
public:
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  HWND hwnd = nullptr;  // bound at WM_CREATE, before any other message reaches the object
protected:
  ~Window() = default;  // objects live until the process ends
};

// The window procedure of every class of object windows, exported under this name.
extern "C" __declspec(dllexport) LRESULT CALLBACK
    WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers a class of Unicode object windows: WndProc, room for the object pointer,
// icon 1 of the program, the arrow cursor, the face colour. Failing ends the
// process at once, as a failed start (EndFailedStart). Class names are ASCII.
void RegisterWindowClass(const char* className);

// Creates a top-level window for object at the default position and size,
// bound to it from WM_CREATE on. Ends the process in an orderly way, as a
// failed start (EndFailedStart), when the window cannot be created.
HWND CreateObjectWindow(Window* object, DWORD exStyle, const char* className, const char* title,
                        DWORD style, HWND owner);

// Sizes the object's window so that its client area is width x height,
// keeping its top-left corner.
void ResizeClient(Window* object, int width, int height, BOOL repaint);

#endif
