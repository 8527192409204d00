// googletest's Notification for the runtime of the win32 thread model, which
// has no std::mutex to build googletest's own one of: a Windows event.
#pragma once
#include <windows.h>

namespace testing::internal {
struct Notification {
  Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }
  HANDLE event_;
};
}  // namespace testing::internal
