#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
const char Separator = '\\';
void MakeDir(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }
std::string TempRoot() {
  char buffer[MAX_PATH];
  DWORD n = GetTempPathA(MAX_PATH, buffer);
  std::string root(buffer, n);
  if (root.empty() || root.back() != '\\') root += '\\';
  return root;
}
unsigned long ProcessId() { return GetCurrentProcessId(); }
#else
const char Separator = '/';
void MakeDir(const std::string& path) { mkdir(path.c_str(), 0700); }
std::string TempRoot() {
  const char* t = std::getenv("TMPDIR");
  std::string root = t && *t ? t : "/tmp";
  if (root.back() != '/') root += '/';
  return root;
}
unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }
#endif

}  // namespace

std::string ScratchDir() {
  static int serial = 0;
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "test";
  for (char& c : name)
    if (c == '/' || c == '\\') c = '_';
  std::string dir = TempRoot() + "asdedit-" + std::to_string(ProcessId()) + "-" +
                    std::to_string(++serial) + "-" + name;
  MakeDir(dir);
  return dir + Separator;
}

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
  std::vector<unsigned char> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  unsigned char chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  std::fclose(f);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool FileExists(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}
