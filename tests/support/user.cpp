#include "support/user.h"

#include <atomic>
#include <thread>

namespace {

// A shown top-level window of className: owned by owner when given, else of process.
HWND Find(DWORD process, HWND owner, const char* className) {
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, nullptr));) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (IsWindowVisible(window) && (owner ? GetWindow(window, GW_OWNER) == owner : id == process))
      return window;
  }
  return nullptr;
}

}  // namespace

std::string Text(HWND window) {
  char text[1024] = {};
  LRESULT n = SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return std::string(text, n > 0 ? n : 0);
}

std::vector<Seen> Answering(HWND owner, std::vector<Answer> answers,
                            const std::function<void()>& action, std::size_t least) {
  std::vector<Seen> seen;
  std::atomic<bool> done(false);
  std::atomic<std::size_t> answered(0);
  std::thread user([&] {
    for (HWND dialog; !done; Sleep(5)) {
      if (!(dialog = Find(0, owner, "#32770"))) continue;
      Sleep(50);  // let it finish setting itself up
      HWND icon = GetDlgItem(dialog, 0x440);
      seen.push_back({Text(dialog),
                      Text(GetDlgItem(dialog, 0xFFFF)),
                      icon && IsWindowVisible(icon)
                          ? reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0))
                          : nullptr,
                      {}});
      for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
        if (GetDlgItem(dialog, id)) seen.back().buttons.push_back(id);
      Answer answer = {GetDlgItem(dialog, IDCANCEL) ? IDCANCEL
                       : GetDlgItem(dialog, IDNO)   ? IDNO
                                                    : IDOK,
                       ""};
      if (seen.size() <= answers.size()) answer = answers[seen.size() - 1];
      HWND name = GetDlgItem(dialog, 0x480) ? GetDlgItem(dialog, 0x480)
                                            : GetDlgItem(dialog, 0x47C);  // Wine's, newer Windows'
      if (!answer.path.empty())
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.path.c_str()));
      PostMessageA(GetDlgItem(dialog, answer.button), BM_CLICK, 0, 0);
      for (int i = 0; i < 1000 && IsWindowVisible(dialog); ++i) Sleep(5);
      ++answered;
    }
  });
  action();
  for (int i = 0; i < 1000 && answered < least; ++i) Sleep(10);
  done = true;
  user.join();
  return seen;
}

HWND StartProgram(std::string commandLine, PROCESS_INFORMATION& process, const char* className) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return nullptr;
  HWND window = nullptr;
  for (int i = 0; i < 1000 && !(window = Find(process.dwProcessId, nullptr, className)); ++i)
    Sleep(10);
  return window;
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
