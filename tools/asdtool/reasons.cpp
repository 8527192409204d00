// The reasons of failed calls in words, for Windows and for POSIX.
#include "reasons.h"

#include <cstring>
#include <vector>

#include "core/utf.h"

#ifdef _WIN32
#include <windows.h>
#endif

// A write that returns short without an error number (errno 0) still says so.
std::string Because(int error) {
  return ": " +
         std::string(error ? std::strerror(error) : "the write was cut short (no error reported)");
}

#ifdef _WIN32
std::string SystemReason(unsigned long error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring wide(text ? text : L"", length);
  LocalFree(text);
  wide.erase(wide.find_last_not_of(L"\r\n .") + 1);
  std::vector<char> bytes(3 * wide.size() + 1);  // three bytes for a unit at most
  const bool words = !wide.empty() && Utf16ToUtf8(wide.c_str(), bytes.data(), bytes.size());
  return ": " + (words ? std::string(bytes.data()) : "system error " + std::to_string(error));
}

std::string Because(const std::error_code& error) {
  if (error.category() == std::system_category()) return SystemReason(error.value());
  return Because(error.value());
}
#else
std::string Because(const std::error_code& error) { return Because(error.value()); }
#endif
