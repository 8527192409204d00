// The command line, split into arguments: blanks separate them, double
// quotes hold blanks, and unquoted wildcard patterns expand to the names they
// match.
#ifndef ASDEDIT_APP_CMDLINE_H
#define ASDEDIT_APP_CMDLINE_H

extern int ArgCount;
extern char** ArgVector;   // ArgCount arguments, the program path first
extern char* ProgramDir;   // the first argument up to its last backslash
extern char* ProgramName;  // the rest of the first argument

// Splits the process's command line (GetCommandLineW) into UTF-8 arguments.
void SplitCommandLine();
// The same on a UTF-8 command line supplied by the caller.
void SplitCommandLineText(const char* commandLine);

#endif
