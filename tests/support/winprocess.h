// Helpers for running a program of the build as its own process and finding
// its windows from outside, the way a user sees them.
#ifndef ASDEDIT_TESTS_WINPROCESS_H
#define ASDEDIT_TESTS_WINPROCESS_H

#include <windows.h>

#include <string>

// Starts the command line; false when it could not be started.
bool StartProcess(const std::string& commandLine, PROCESS_INFORMATION& process);

// A shown top-level window of the process, of the class unless className is
// null; null when there is none.
HWND FindProcessWindow(DWORD processId, const char* className);
// The same, polled for until timeoutMs have passed.
HWND WaitForProcessWindow(DWORD processId, const char* className, DWORD timeoutMs);

// Waits up to timeoutMs for the process to end, ends it when it does not, and
// closes its handles: its exit code, or STILL_ACTIVE when it had to be ended.
DWORD WaitForExit(PROCESS_INFORMATION& process, DWORD timeoutMs);

#endif
