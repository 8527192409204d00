// Finding windows and dialogs and answering them as a user would.
#include "tools/windriver/windriver.h"

#include <atomic>

namespace {

const DWORD PollStep = 5;  // milliseconds

// The name field of an open dialog: Wine's and older Windows' edt1, newer
// Windows' cmb13.
HWND NameField(HWND dialog) {
  HWND field = GetDlgItem(dialog, 0x480);
  return field ? field : GetDlgItem(dialog, 0x47C);
}

// What the user sees of dialog.
Seen Look(HWND dialog) {
  HWND icon = GetDlgItem(dialog, 0x440);
  HWND readOnly = GetDlgItem(dialog, 0x410);  // chx1
  Seen seen = {WindowText(dialog),
               WindowText(GetDlgItem(dialog, 0xFFFF)),
               nullptr,
               {},
               {},
               readOnly && IsWindowVisible(readOnly),
               0};
  if (icon && IsWindowVisible(icon))
    seen.icon = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) continue;
    seen.buttons.push_back(id);
    seen.labels.push_back(WindowText(button));
    if ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      seen.defaultButton = id;
  }
  return seen;
}

// Runs the function body points to, on a thread of the platform's: the
// programs' C++ runtime has no threads of its own.
DWORD WINAPI RunBody(LPVOID body) {
  (*static_cast<const std::function<void()>*>(body))();
  return 0;
}

// The button that leaves dialog without doing anything.
int CancelButton(HWND dialog) {
  if (GetDlgItem(dialog, IDCANCEL)) return IDCANCEL;
  return GetDlgItem(dialog, IDNO) ? IDNO : IDOK;
}

}  // namespace

std::wstring WideText(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  int n =
      MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  wide.resize(n > 0 ? n - 1 : 0);
  return wide;
}

std::string Utf8Text(const std::wstring& wide) {
  std::string text(3 * wide.size() + 1, '\0');
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                              static_cast<int>(text.size()), nullptr, nullptr);
  text.resize(n > 0 ? n : 0);
  return text;
}

std::string WindowText(HWND window) {
  wchar_t wide[1024] = {};
  LRESULT n = SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(wide));
  return Utf8Text(std::wstring(wide, n > 0 ? n : 0));
}

void TypeText(HWND control, const std::string& text) {
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideText(text).c_str()));
}

HWND FindShownWindow(const char* className, DWORD process, HWND owner) {
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, nullptr));) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (IsWindowVisible(window) && (!process || id == process) &&
        (!owner || GetWindow(window, GW_OWNER) == owner))
      return window;
  }
  return nullptr;
}

HWND WaitForWindow(const char* className, DWORD process, HWND owner, DWORD ms) {
  for (DWORD waited = 0;; waited += PollStep) {
    HWND window = FindShownWindow(className, process, owner);
    if (window || waited >= ms) return window;
    Sleep(PollStep);
  }
}

std::vector<Seen> Answering(HWND owner, const std::vector<Answer>& answers,
                            const std::function<void()>& action, std::size_t least) {
  std::vector<Seen> seen;
  std::atomic<bool> done(false);
  std::atomic<std::size_t> answered(0);
  const std::function<void()> user = [&] {
    for (; !done; Sleep(PollStep)) {
      HWND dialog = FindShownWindow("#32770", owner ? 0 : GetCurrentProcessId(), owner);
      if (!dialog) continue;
      Sleep(50);  // let it finish setting itself up
      seen.push_back(Look(dialog));
      Answer answer = {CancelButton(dialog), ""};
      if (seen.size() <= answers.size()) answer = answers[seen.size() - 1];
      if (!answer.path.empty()) TypeText(NameField(dialog), answer.path);
      if (answer.key)
        PostMessageA(dialog, WM_CHAR, static_cast<unsigned char>(answer.key), 0);
      else
        PostMessageA(GetDlgItem(dialog, answer.button), BM_CLICK, 0, 0);
      for (int i = 0; i < 1000 && IsWindowVisible(dialog); ++i) Sleep(PollStep);
      ++answered;
    }
  };
  HANDLE thread =
      CreateThread(nullptr, 0, RunBody, const_cast<std::function<void()>*>(&user), 0, nullptr);
  action();
  for (int i = 0; i < 1000 && answered < least; ++i) Sleep(10);
  done = true;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return seen;
}

HWND StartProgram(const std::string& commandLine, PROCESS_INFORMATION& process,
                  const char* className) {
  std::wstring line = WideText(commandLine);  // CreateProcessW may write into it
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return nullptr;
  return WaitForWindow(className, process.dwProcessId);
}

DWORD WaitExit(PROCESS_INFORMATION& process, DWORD ms) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process.hProcess, ms) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}
