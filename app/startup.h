// Start-up and the message loop.
#ifndef ASDEDIT_APP_STARTUP_H
#define ASDEDIT_APP_STARTUP_H

#include <windows.h>

#include "app/text.h"

extern HINSTANCE AppInstance;

// Runs the message loop until WM_QUIT and returns its exit code.
int RunMessageLoop();

// The exit code of a start on a Windows without the code page of the
// program's texts.
const int NoCodePageExit = 2;

// The exit code of a start whose window class or window could not be made.
const int FailedStartExit = 3;

// What the program says when its start fails, in its own texts: format, with
// one %s for the system's reason (unknown, with one %lu for its code, where
// the system has no words for it), under caption.
struct FailedStartText {
  const char* format;
  const char* caption;
  const char* unknown;
};

// Ends a start that failed (a window class or window that could not be made)
// with FailedStartExit, after saying why in a message box, as AppStart was
// told, with the system's reason for the last error. At once, or in an
// orderly way through the C runtime's exit.
[[noreturn]] void EndFailedStart(bool orderly);

// The program's start-up sequence after the platform's entry point: keeps the
// instance, splits the command line, registers the program's main window
// class, calls entry with the arguments and runs the message loop. Returns the
// exit code: the quit code, or 0 when entry reports a failed start (negative).
// First of all, a Windows without codePage (ProgramCodePage, but for tests)
// is told so in English, and the start ends with NoCodePageExit.
int AppStart(HINSTANCE instance, HINSTANCE previous, const char* mainClassName,
             int (*entry)(int argc, char** argv), const FailedStartText& failed,
             UINT codePage = ProgramCodePage);

#endif
