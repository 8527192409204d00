// Start-up, command line and message loop.
#ifndef ASDEDIT_APP_STARTUP_H
#define ASDEDIT_APP_STARTUP_H

#include <windows.h>

extern HINSTANCE AppInstance;
extern int ArgCount;
extern char** ArgVector;
extern char* ProgramDir;
extern char* ProgramName;

// Node of the list that collects arguments while the command line is split.
struct StringNode {
  char* text;
  StringNode* next;
};

char* CopyString(const char* text);
StringNode* NewStringNode(const char* text);
StringNode* AppendString(StringNode* list, const char* text);
void FreeStringList(StringNode* list);
bool HasWildcard(const char* text);

// Splits the process's command line (GetCommandLineA) into ArgCount,
// ArgVector, ProgramDir and ProgramName.
void SplitCommandLine();
// The same on a command line supplied by the caller.
void SplitCommandLineText(const char* commandLine);

// The application entry: creates the main window. Negative means start-up failed.
int AppMain(int argc, char** argv);

// Runs the message loop until WM_QUIT and returns its exit code.
int RunMessageLoop();

// The program's start-up sequence after the platform's entry point: keeps the
// instance, splits the command line, registers the main window class, calls
// entry (the program's is AppMain) and runs the message loop. Returns the exit
// code: the quit code, or 0 when entry reports a failed start.
int AppStart(HINSTANCE instance, HINSTANCE previous, int (*entry)(int argc, char** argv));

#endif
