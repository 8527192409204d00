// Why a call of the system failed, in the words asdtool's messages end with.
#ifndef ASDEDIT_TOOLS_ASDTOOL_REASONS_H
#define ASDEDIT_TOOLS_ASDTOOL_REASONS_H

#include <string>
#include <system_error>

// ": " and the system's reason for the errno value error; for 0, a write
// cut short with no error reported.
std::string Because(int error);

// ": " and the system's reason for error, in UTF-8.
std::string Because(const std::error_code& error);

// The save-file code's error code (errno's on POSIX, GetLastError's on
// Windows) as a system error, for Because.
inline std::error_code SystemCode(unsigned long error) {
  return {static_cast<int>(error), std::system_category()};
}

#ifdef _WIN32
// ": " and Windows's words for its error code, "system error N" where it has none.
std::string SystemReason(unsigned long error);
#endif

#endif
