// Times programs from their start to their first paint: from CreateProcess to
// the moment the program has waited for input (WaitForInputIdle) and its
// window is shown with nothing left to paint in it or in any of its controls.
// Wine may report a program idle before its window shows, hence the second
// test. Each program is then closed as a user would.
//   launch_bench ROUNDS PROGRAM BASELINE prints the median milliseconds of
//   each and the median over rounds of their ratio (the two start in turn).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool StartProcess(const std::string& commandLine, PROCESS_INFORMATION& process) {
  std::string line = commandLine;  // CreateProcessA may write into it
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) != 0;
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM data) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

// A shown top-level window of the process, or null.
HWND FindProcessWindow(DWORD processId) {
  WindowSearch search = {processId, nullptr};
  EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits for the process to end, ends it when it does not, closes its handles.
DWORD WaitForExit(PROCESS_INFORMATION& process, DWORD timeoutMs) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

BOOL CALLBACK FindUnpainted(HWND window, LPARAM lParam) {
  if (!GetUpdateRect(window, nullptr, FALSE)) return TRUE;
  *reinterpret_cast<bool*>(lParam) = true;
  return FALSE;
}

// Whether window is shown and painted, with its controls.
bool Painted(HWND window) {
  bool unpainted = GetUpdateRect(window, nullptr, FALSE) != 0;
  if (!unpainted) EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
  return IsWindowVisible(window) && !unpainted;
}

// Milliseconds from start to first paint, or a negative number on failure.
double StartToIdle(const char* program) {
  std::string commandLine = "\"" + std::string(program) + "\"";
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER frequency, start, painted;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!StartProcess(commandLine, process)) return -1;
  DWORD waited = WaitForInputIdle(process.hProcess, 20000);
  HWND window = nullptr;
  for (int polls = 0; waited == 0 && polls < 20000; ++polls) {
    window = FindProcessWindow(process.dwProcessId);
    if (window && Painted(window)) break;
    Sleep(1);
  }
  QueryPerformanceCounter(&painted);
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  bool ended = WaitForExit(process, 10000) != STILL_ACTIVE;
  if (waited != 0 || !window || !ended) {
    std::fprintf(stderr, "launch_bench: %s: %s\n", program,
                 waited != 0 ? "never waited for input" : !window || !Painted(window) ? "no window shown and painted" : "did not end when closed");
    return -1;
  }
  return 1000.0 * (painted.QuadPart - start.QuadPart) / frequency.QuadPart;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: launch_bench ROUNDS PROGRAM BASELINE\n");
    return 2;
  }
  int rounds = std::atoi(argv[1]);
  const int programs = 2;
  std::vector<std::vector<double>> times(programs);
  std::vector<double> ratios;
  // One untimed start of each first: the first start of a session loads more.
  for (int r = -1; r < rounds; ++r)
    for (int p = 0; p < programs; ++p) {
      double ms = StartToIdle(argv[2 + p]);
      if (ms < 0) {
        return 1;
      }
      if (r >= 0) times[p].push_back(ms);
    }
  for (int r = 0; r < rounds; ++r) ratios.push_back(times[0][r] / times[1][r]);
  for (auto* list : {&times[0], &times[1], &ratios}) std::sort(list->begin(), list->end());
  std::printf("start_ms=%.1f baseline_ms=%.1f start_ratio=%.2f\n", times[0][rounds / 2], times[1][rounds / 2],
              ratios[rounds / 2]);
  return 0;
}
