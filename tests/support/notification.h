// googletest's Notification for the runtime of the win32 thread model, which
// has no std::mutex to build googletest's own one: a Windows event.
#ifndef ASDEDIT_TESTS_SUPPORT_NOTIFICATION_H
#define ASDEDIT_TESTS_SUPPORT_NOTIFICATION_H

#include <windows.h>

namespace testing {
namespace internal {
class Notification {
public:
  Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  ~Notification() { CloseHandle(event_); }
  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
  HANDLE event_;
};
}  // namespace internal
}  // namespace testing

#endif
