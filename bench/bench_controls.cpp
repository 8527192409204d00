// bench_controls: times a refresh of 90 bound number fields against 90 bare SetWindowTextW
// calls with the same UTF-16 texts on the same fields: what the toolkit costs
// above the platform. The window is visible, as the editor's are.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "app/text.h"
#include "controls/controls.h"
#include "controls/numtext.h"

namespace {

const int FieldCount = 90;
const int Rounds = 200;

bool Committing = true;
long NotificationCount = 0;

// Like the editor's windows: every notification of a control is committed.
LRESULT CALLBACK BenchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && lParam != 0) {
    ++NotificationCount;
    if (Committing) CommitBoundControl(window, reinterpret_cast<HWND>(lParam));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Median of the per-round times, in microseconds.
double Median(double* times) {
  std::sort(times, times + Rounds);
  return times[Rounds / 2] * 1e6;
}

// Whether every field shows its text of texts: what the bare calls set is
// what a refresh shows.
bool ShowsTexts(const HWND* fields, const wchar_t (*texts)[NumberTextMax + 1]) {
  for (int i = 0; i < FieldCount; ++i) {
    wchar_t shown[NumberTextMax + 1];
    GetWindowTextW(fields[i], shown, NumberTextMax + 1);
    if (lstrcmpW(shown, texts[i]) != 0) {
      (void)std::fprintf(stderr, "bench_controls: field %d does not show its text\n", i);
      return false;
    }
  }
  return true;
}

}  // namespace

int main() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = BenchProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"AsdBenchControls";
  RegisterClassW(&windowClass);
  HWND parent = CreateWindowExW(0, L"AsdBenchControls", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                0, 0, 640, 480, nullptr, nullptr, windowClass.hInstance, nullptr);

  static std::uint16_t words[FieldCount];
  HWND fields[FieldCount];
  for (int i = 0; i < FieldCount; ++i)
    fields[i] = CreateBoundControl(parent, 64 * (i % 9) + 33, 40 * (i / 9) + 10, 28, 20, ShortEdit,
                                   "B", i + 1, 0, 99, &words[i]);

  // Two sets of values, alternated so that every round changes every text.
  std::uint16_t values[2][FieldCount];
  wchar_t texts[2][FieldCount][NumberTextMax + 1];
  for (int i = 0; i < FieldCount; ++i) {
    values[0][i] = static_cast<std::uint16_t>(i % 100);
    values[1][i] = static_cast<std::uint16_t>((i + 50) % 100);
    for (int set = 0; set < 2; ++set) {
      char text[NumberTextMax + 1];
      FormatNumber(values[set][i], text);
      ToWide(text, ProgramCodePage, texts[set][i], NumberTextMax + 1);
    }
  }

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  static double refresh[Rounds], bare[Rounds], bareCommitted[Rounds], clamped[Rounds];

  for (int round = 0; round < Rounds; ++round) {
    std::copy(values[round % 2], values[round % 2] + FieldCount, words);
    Committing = true;
    QueryPerformanceCounter(&start);
    RefreshBoundControls(parent);
    QueryPerformanceCounter(&end);
    refresh[round] = Seconds(start, end, frequency);
    if (round == 0 && !ShowsTexts(fields, texts[0])) return 1;

    Committing = false;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < FieldCount; ++i) SetWindowTextW(fields[i], texts[(round + 1) % 2][i]);
    QueryPerformanceCounter(&end);
    bare[round] = Seconds(start, end, frequency);

    Committing = true;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < FieldCount; ++i) SetWindowTextW(fields[i], texts[round % 2][i]);
    QueryPerformanceCounter(&end);
    bareCommitted[round] = Seconds(start, end, frequency);

    // Values above the range: every show is clamped and rewritten.
    std::fill(words, words + FieldCount, static_cast<std::uint16_t>(120));
    QueryPerformanceCounter(&start);
    RefreshBoundControls(parent);
    QueryPerformanceCounter(&end);
    clamped[round] = Seconds(start, end, frequency);
  }

  double refreshTime = Median(refresh);
  double bareTime = Median(bare);
  double bareCommittedTime = Median(bareCommitted);
  double clampedTime = Median(clamped);
  std::printf(
      "refresh_us=%.1f bare_us=%.1f refresh_ratio=%.2f bare_committed_us=%.1f clamped_us=%.1f "
      "clamped_ratio=%.2f notifications=%ld\n",
      refreshTime, bareTime, refreshTime / bareTime, bareCommittedTime, clampedTime,
      clampedTime / bareTime, NotificationCount);
  DestroyBoundControls(parent);
  return 0;
}
