// Splitting of the command line into ArgVector, with wildcard expansion.
#include "app/cmdline.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "app/cmdtoken.h"
#include "app/text.h"

int ArgCount = 0;
char** ArgVector = nullptr;
char* ProgramDir = nullptr;
char* ProgramName = nullptr;

namespace {

// Node of the list that collects arguments while the command line is split.
struct StringNode {
  char* text;  // owned
  StringNode* next;
};

// A fixed-memory copy of text; running out of memory ends the process (code 1).
char* CopyString(const char* text) {
  char* copy = static_cast<char*>(GlobalAlloc(GMEM_FIXED, std::strlen(text) + 1));
  if (!copy) ExitProcess(1);
  lstrcpyA(copy, text);
  return copy;
}

// A new unlinked node holding a copy of text.
StringNode* NewStringNode(const char* text) {
  StringNode* node = static_cast<StringNode*>(GlobalAlloc(GMEM_FIXED, sizeof(StringNode)));
  if (!node) ExitProcess(1);
  node->text = CopyString(text);
  node->next = nullptr;
  return node;
}

// Links a node for text behind the last node of list and counts it.
StringNode* AppendString(StringNode* list, const char* text) {
  if (!list) return nullptr;
  while (list->next) list = list->next;
  list->next = NewStringNode(text);
  ++ArgCount;
  return list->next;
}

// Releases every node of list and its text.
void FreeStringList(StringNode* list) {
  while (list) {
    StringNode* next = list->next;
    GlobalFree(list->text);
    GlobalFree(list);
    list = next;
  }
}

// True when text holds a '*' or a '?'.
bool HasWildcard(const char* text) { return std::strpbrk(text, "*?") != nullptr; }

int vectorLength = 0;  // entries of ArgVector, which ArgCount may no longer tell

// Offset just past the last of separators in text[0, limit). The arguments
// are UTF-8, in which no byte of a character other than the separators
// themselves can be taken for one ("表" and "ソ" included).
std::size_t AfterLast(const char* text, std::size_t limit, const char* separators) {
  std::size_t split = 0;
  for (std::size_t i = 0; i < limit; ++i)
    if (std::strchr(separators, text[i])) split = i + 1;
  return split;
}

// A standard-heap copy of text for ArgVector.
char* HeapCopy(const char* text) {
  std::size_t size = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(size));
  if (!copy) std::exit(1);
  std::memcpy(copy, text, size);
  return copy;
}

// Appends every name that pattern matches, behind the pattern's folder part:
// everything up to its last backslash, slash or drive colon, so that each
// argument names the file that was found, never a namesake elsewhere.
void AppendMatches(StringNode* list, const char* pattern) {
  wchar_t widePattern[PathUnits];
  if (!ToWide(pattern, CP_UTF8, widePattern, PathUnits)) return;  // matches nothing
  std::size_t prefixLength = AfterLast(pattern, std::strlen(pattern), "\\/:");
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(widePattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    // A joined path that does not fit is skipped: cut short, it would name
    // another file.
    char joined[PathBytes];
    lstrcpynA(joined, pattern, static_cast<int>(prefixLength + 1));
    if (ToUtf8(found.cFileName, joined + prefixLength, static_cast<int>(PathBytes - prefixLength)))
      AppendString(list, joined);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// Releases the results of an earlier split (the program splits only once).
void ReleaseArguments() {
  for (int i = 0; ArgVector && i < vectorLength; ++i) std::free(ArgVector[i]);
  if (ArgVector) GlobalFree(ArgVector);
  if (ProgramDir) GlobalFree(ProgramDir);
  if (ProgramName) GlobalFree(ProgramName);
  ArgVector = nullptr;
  ProgramDir = ProgramName = nullptr;
  ArgCount = vectorLength = 0;
}

}  // namespace

void SplitCommandLine() {
  // The wide command line holds every name as given; the ANSI one would have
  // lost what the code page cannot write (and turned it into "?" wildcards).
  const wchar_t* wide = GetCommandLineW();
  int size = 3 * lstrlenW(wide) + 1;  // UTF-8 takes three bytes for a unit at most
  char* line = static_cast<char*>(GlobalAlloc(GMEM_FIXED, size));
  if (!line) ExitProcess(1);
  ToUtf8(wide, line, size);  // a line that is no valid UTF-16 gives no argument
  SplitCommandLineText(line);
  GlobalFree(line);
}

void SplitCommandLineText(const char* commandLine) {
  ReleaseArguments();
  StringNode* list = NewStringNode(" ");  // the head is never an argument
  char* line = CopyString(commandLine);
  std::size_t cursor = 0;
  CommandToken token;
  while (NextCommandToken(line, &cursor, &token)) {
    char* text = line + token.start;
    text[token.length] = '\0';  // a closing quote, a blank or the end already
    if (!token.quoted && HasWildcard(text))
      AppendMatches(list, text);
    else
      AppendString(list, text);
  }
  GlobalFree(line);

  SIZE_T slots = ArgCount > 0 ? ArgCount : 1;
  ArgVector = static_cast<char**>(GlobalAlloc(GMEM_FIXED, slots * sizeof(char*)));
  if (!ArgVector) std::exit(1);
  int n = 0;
  for (StringNode* node = list->next; node; node = node->next)
    ArgVector[n++] = HeapCopy(node->text);
  vectorLength = n;

  // The first argument, normally the program path, split after its last
  // backslash; a backslash as its very last character does not count.
  const char* first = list->next ? list->next->text : "";
  std::size_t length = std::strlen(first);
  std::size_t split = AfterLast(first, length > 0 ? length - 1 : 0, "\\");
  ProgramName = CopyString(first + split);
  ProgramDir = CopyString(first);
  ProgramDir[split] = '\0';
  FreeStringList(list);
}
