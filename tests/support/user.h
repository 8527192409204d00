// A user at the program's windows: texts, dialogs answered from a second
// thread, programs started as their own processes.
#ifndef ASDEDIT_TESTS_SUPPORT_USER_H
#define ASDEDIT_TESTS_SUPPORT_USER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

std::string Text(HWND window);  // across processes too

struct Answer {
  int button;        // pressed after
  std::string path;  // typed into an open dialog's name field, when not empty
};
struct Seen {
  std::string caption, text;
  HICON icon;                // a message box's icon, as this process knows icons
  std::vector<int> buttons;  // which of IDOK, IDCANCEL, IDYES, IDNO it offered
};

// Runs action while a second thread answers, in order, the dialogs owned by
// owner that come up meanwhile, and then until at least least dialogs came
// (10 s at most); one without an answer left is cancelled.
std::vector<Seen> Answering(HWND owner, std::vector<Answer> answers,
                            const std::function<void()>& action, std::size_t least = 0);

// Starts commandLine; its shown window of className, or null after 10 s.
HWND StartProgram(std::string commandLine, PROCESS_INFORMATION& process, const char* className);
// Its exit code within ms, or STILL_ACTIVE when it had to be ended.
DWORD WaitExit(PROCESS_INFORMATION& process, DWORD ms);

#endif
