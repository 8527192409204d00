#include "support/winprocess.h"

#include <cstring>

namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM data) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner != search->processId || !IsWindowVisible(window) ||
      (search->className && std::strcmp(name, search->className) != 0))
    return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

bool StartProcess(const std::string& commandLine, PROCESS_INFORMATION& process) {
  std::string line = commandLine;  // CreateProcessA may write into it
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) != 0;
}

HWND FindProcessWindow(DWORD processId, const char* className) {
  WindowSearch search = {processId, className, nullptr};
  EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForProcessWindow(DWORD processId, const char* className, DWORD timeoutMs) {
  for (DWORD start = GetTickCount();; Sleep(10)) {
    if (HWND window = FindProcessWindow(processId, className)) return window;
    if (GetTickCount() - start > timeoutMs) return nullptr;
  }
}

DWORD WaitForExit(PROCESS_INFORMATION& process, DWORD timeoutMs) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  process = PROCESS_INFORMATION();
  return code;
}
