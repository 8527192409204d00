// Prints the ANSI code page the program runs under.
#include <windows.h>

#include <cstdio>

int main() {
  std::printf("GetACP() = %u\n", GetACP());
  return 0;
}
