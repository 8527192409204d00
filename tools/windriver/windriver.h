// windriver: finds the editor's windows and dialogs and uses them as a user
// would, from another thread or another process: for the tests, the
// screenshot tool and the benchmarks. Texts and paths are UTF-8.
#ifndef ASDEDIT_TOOLS_WINDRIVER_H
#define ASDEDIT_TOOLS_WINDRIVER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// UTF-8 text as the platform's UTF-16.
std::wstring WideText(const std::string& text);
// UTF-16 text as UTF-8.
std::string Utf8Text(const std::wstring& wide);
// A window's text as the user sees it; across processes too.
std::string WindowText(HWND window);
// Puts text into a control, as typing it whole would.
void TypeText(HWND control, const std::string& text);

// A shown top-level window: of className (any when null), of process (any
// when 0), owned by owner (any when null).
HWND FindShownWindow(const char* className, DWORD process = 0, HWND owner = nullptr);
// The same, waiting up to ms for it to appear.
HWND WaitForWindow(const char* className, DWORD process = 0, HWND owner = nullptr,
                   DWORD ms = 10000);

// What a user does in a dialog: types path into an open dialog's name field
// when it is not empty, then presses button, or types key when one is given.
struct Answer {
  int button;
  std::string path;
  char key = '\0';
};
// What the user saw of a dialog or message box.
struct Seen {
  std::string caption;
  std::string text;
  HICON icon;                       // a message box's icon, as this process knows icons
  std::vector<int> buttons;         // which of IDOK, IDCANCEL, IDYES, IDNO it offered
  std::vector<std::string> labels;  // and what they read, in that order
  bool readOnlyBox;                 // an open dialog's "read-only" check box is shown
  int defaultButton;                // the button that Enter presses, or 0
};

// Runs action while a second thread answers, in order, the dialogs owned by
// owner (with no owner, this process's dialogs) that come up meanwhile, and then until at least
// least dialogs came (10 s at most); one without an answer left is cancelled.
std::vector<Seen> Answering(HWND owner, const std::vector<Answer>& answers,
                            const std::function<void()>& action, std::size_t least = 0);

// Starts commandLine; its shown window of className (any when null), or null
// after 10 s.
HWND StartProgram(const std::string& commandLine, PROCESS_INFORMATION& process,
                  const char* className);
// Its exit code within ms, or STILL_ACTIVE when it had to be ended.
DWORD WaitExit(PROCESS_INFORMATION& process, DWORD ms);

#endif
