// Times programs from their start to their first paint: from CreateProcess to
// the moment the program has waited for input (WaitForInputIdle) and its
// window is shown with nothing left to paint in it or in any of its controls.
// Wine may report a program idle before its window shows, hence the second
// test. Each program is then closed as a user would.
//   launch_bench ROUNDS PROGRAM FLOOR... prints the median milliseconds of
//   each and the median over rounds of the program's ratio to each floor (all
//   start in turn). Each is a command line.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/windriver/windriver.h"

namespace {

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
double StartToIdle(const char* commandLine) {
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER frequency, start, painted;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  HWND window = StartProgram(commandLine, process, nullptr);
  if (!process.hProcess) return -1;
  DWORD waited = WaitForInputIdle(process.hProcess, 20000);
  for (int polls = 0; window && waited == 0 && polls < 20000 && !Painted(window); ++polls) Sleep(1);
  QueryPerformanceCounter(&painted);
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  bool ended = WaitExit(process, 10000) != STILL_ACTIVE;
  if (waited != 0 || !window || !ended) {
    (void)std::fprintf(stderr, "launch_bench: %s: %s\n", commandLine,
                       waited != 0                   ? "never waited for input"
                       : !window || !Painted(window) ? "no window shown and painted"
                                                     : "did not end when closed");
    return -1;
  }
  return 1000.0 * static_cast<double>(painted.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    (void)std::fprintf(stderr, "usage: launch_bench ROUNDS PROGRAM FLOOR...\n");
    return 2;
  }
  int rounds = std::atoi(argv[1]);
  const int programs = argc - 2;
  std::vector<std::vector<double>> times(programs);
  // One untimed start of each first: the first start of a session loads more.
  for (int r = -1; r < rounds; ++r)
    for (int p = 0; p < programs; ++p) {
      double ms = StartToIdle(argv[2 + p]);
      if (ms < 0) return 1;
      if (r >= 0) times[p].push_back(ms);
    }
  std::vector<std::vector<double>> ratios(programs);
  for (int p = 1; p < programs; ++p)
    for (int r = 0; r < rounds; ++r) ratios[p].push_back(times[0][r] / times[p][r]);
  for (int p = 0; p < programs; ++p) {
    std::sort(times[p].begin(), times[p].end());
    std::sort(ratios[p].begin(), ratios[p].end());
  }
  std::printf("start_ms=%.1f", times[0][rounds / 2]);
  for (int p = 1; p < programs; ++p)
    std::printf(" floor%d_ms=%.1f ratio%d=%.2f", p, times[p][rounds / 2], p, ratios[p][rounds / 2]);
  std::printf("\n");
  return 0;
}
