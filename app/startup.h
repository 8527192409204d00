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

// The program's start-up sequence after the platform's entry point.
int AppStart(HINSTANCE instance, HINSTANCE previous);

#endif
