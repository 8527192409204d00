// Splitting of the command line into ArgVector, with wildcard expansion.
#include "app/cmdline.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "app/cmdtoken.h"

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

// Offset just past the last backslash in text[0, limit). The second byte of a
// double-byte character can be 0x5C in code page 932 ("表", "ソ"); it is not a
// backslash and does not separate anything.
std::size_t AfterLastBackslash(const char* text, std::size_t limit) {
  std::size_t split = 0;
  for (std::size_t i = 0; i < limit;) {
    if (text[i] == '\\') split = i + 1;
    i += IsDBCSLeadByte(static_cast<BYTE>(text[i])) && text[i + 1] != '\0' ? 2 : 1;
  }
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

// Appends every name that pattern matches, behind the pattern's directory part.
void AppendMatches(StringNode* list, const char* pattern) {
  char* prefix = CopyString(pattern);
  std::size_t prefixLength = AfterLastBackslash(prefix, std::strlen(prefix));
  prefix[prefixLength] = '\0';
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      char joined[256];
      // A joined path too long for the buffer is skipped: cut short, it would
      // name a different file.
      if (prefixLength + std::strlen(found.cFileName) < sizeof joined) {
        wsprintfA(joined, "%s%s", prefix, found.cFileName);
        AppendString(list, joined);
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  GlobalFree(prefix);
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

void SplitCommandLine() { SplitCommandLineText(GetCommandLineA()); }

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
  std::size_t split = AfterLastBackslash(first, length > 0 ? length - 1 : 0);
  ProgramName = CopyString(first + split);
  ProgramDir = CopyString(first);
  ProgramDir[split] = '\0';
  FreeStringList(list);
}
