// A load or store whose stream calls fail part-way: every failure is reported,
// GameState stays as it was, and no stream is left open. The failures are
// injected at the C library's stream functions, which this test wraps at link
// time (ld --wrap), so the save-file code runs as it is built.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "editor/savefile.h"
#include "support/testsupport.h"

namespace {

enum Call { Open, Seek, Tell, Read, Write, Flush, Close, CallCount };
const char* const CallNames[CallCount] = {"fopen", "fseek", "ftell", "fread", "fwrite", "fflush", "fclose"};

// Counting is on only while a plan is armed; the call numbered failAt of the
// kind failKind (counted from 1) fails.
struct FaultPlan {
  bool armed = false;
  Call failKind = Open;
  int failAt = 0;
  int calls[CallCount] = {};
  int openStreams = 0;
};
FaultPlan Plan;

bool ShouldFail(Call kind) {
  if (!Plan.armed) return false;
  return ++Plan.calls[kind] == Plan.failAt && kind == Plan.failKind;
}

}  // namespace

extern "C" {
std::FILE* __real_fopen(const char* path, const char* mode);
int __real_fseek(std::FILE* file, long offset, int origin);
long __real_ftell(std::FILE* file);
std::size_t __real_fread(void* buffer, std::size_t size, std::size_t count, std::FILE* file);
std::size_t __real_fwrite(const void* buffer, std::size_t size, std::size_t count, std::FILE* file);
int __real_fflush(std::FILE* file);
int __real_fclose(std::FILE* file);

std::FILE* __wrap_fopen(const char* path, const char* mode) {
  if (ShouldFail(Open)) return nullptr;
  std::FILE* file = __real_fopen(path, mode);
  if (file && Plan.armed) ++Plan.openStreams;
  return file;
}
int __wrap_fseek(std::FILE* file, long offset, int origin) {
  if (ShouldFail(Seek)) return (errno = EIO), -1;
  return __real_fseek(file, offset, origin);
}
long __wrap_ftell(std::FILE* file) {
  if (ShouldFail(Tell)) return (errno = EIO), -1L;
  return __real_ftell(file);
}
std::size_t __wrap_fread(void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
  // A failed read delivers part of what was asked for.
  if (ShouldFail(Read)) return __real_fread(buffer, size, count / 2, file);
  return __real_fread(buffer, size, count, file);
}
std::size_t __wrap_fwrite(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
  if (ShouldFail(Write)) return (errno = ENOSPC), 0;
  return __real_fwrite(buffer, size, count, file);
}
int __wrap_fflush(std::FILE* file) {
  if (ShouldFail(Flush)) return (errno = ENOSPC), EOF;
  return __real_fflush(file);
}
int __wrap_fclose(std::FILE* file) {
  bool fail = ShouldFail(Close);
  if (Plan.armed) --Plan.openStreams;
  int result = __real_fclose(file);
  return fail ? ((errno = ENOSPC), EOF) : result;
}
}

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes SaveImage(unsigned seed) {
  std::mt19937 random(seed);
  Bytes bytes(SaveFileMinLength + 500);
  for (auto& b : bytes) b = static_cast<unsigned char>(random());
  std::memcpy(&bytes[0], SaveHeaderText, SaveHeaderLength);
  std::memcpy(&bytes[96], SaveTitleText, SaveTitleLength);
  return bytes;
}

GameStateData RandomState(unsigned seed) {
  std::mt19937 random(seed);
  GameStateData state;
  for (auto& v : state.smallValues) v = static_cast<std::uint16_t>(random());
  state.turnCount = static_cast<std::uint16_t>(random());
  for (auto& v : state.counters) v = static_cast<std::uint16_t>(random());
  for (auto& row : state.statRows)
    for (auto& v : row) v = static_cast<std::uint16_t>(random());
  return state;
}

bool SameState(const GameStateData& a, const GameStateData& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Runs operation on path with the plan armed; returns its result.
int Armed(int (*operation)(const char*), const std::string& path, Call failKind, int failAt) {
  Plan = FaultPlan();
  Plan.failKind = failKind;
  Plan.failAt = failAt;
  Plan.armed = true;
  int result = operation(path.c_str());
  Plan.armed = false;
  return result;
}

// The calls of each kind that a run without failures makes.
std::vector<int> CallsOf(int (*operation)(const char*), const std::string& path) {
  EXPECT_EQ(0, Armed(operation, path, Open, 0));
  return std::vector<int>(Plan.calls, Plan.calls + CallCount);
}

class IoFailure : public ::testing::Test {
protected:
  void SetUp() override {
    path = ScratchDir() + "save.asd";
    image = SaveImage(21);
    ASSERT_TRUE(WriteFileBytes(path, image));
  }
  std::string path;
  Bytes image;
};

}  // namespace

TEST_F(IoFailure, EveryFailedCallInAStoreIsReported) {
  GameState = RandomState(22);
  const GameStateData state = GameState;
  std::vector<int> calls = CallsOf(StoreSaveFile, path);
  ASSERT_GE(calls[Write], 20);  // one write per region at least
  int injected = 0;
  for (int kind = Open; kind < CallCount; ++kind) {
    for (int k = 1; k <= calls[kind]; ++k) {
      ASSERT_TRUE(WriteFileBytes(path, image));
      int result = Armed(StoreSaveFile, path, static_cast<Call>(kind), k);
      EXPECT_NE(0, result) << CallNames[kind] << " call " << k << " failed unreported";
      EXPECT_EQ(0, Plan.openStreams) << CallNames[kind] << " call " << k;
      EXPECT_TRUE(SameState(state, GameState)) << CallNames[kind] << " call " << k;
      EXPECT_EQ(image.size(), ReadFileBytes(path).size()) << CallNames[kind] << " call " << k;
      ++injected;
    }
  }
  EXPECT_GE(injected, 2 * 20);
}

TEST_F(IoFailure, EveryFailedCallInALoadRefusesItAndKeepsTheState) {
  std::vector<int> calls = CallsOf(LoadSaveFile, path);
  ASSERT_GE(calls[Read], 20);
  GameState = RandomState(23);
  const GameStateData state = GameState;
  for (int kind = Open; kind < CallCount; ++kind) {
    if (kind == Close) continue;  // the file has been read in full before it is closed
    for (int k = 1; k <= calls[kind]; ++k) {
      EXPECT_NE(0, Armed(LoadSaveFile, path, static_cast<Call>(kind), k)) << CallNames[kind] << " call " << k;
      EXPECT_EQ(0, Plan.openStreams) << CallNames[kind] << " call " << k;
      EXPECT_TRUE(SameState(state, GameState)) << CallNames[kind] << " call " << k;
    }
  }
  EXPECT_EQ(image, ReadFileBytes(path));
}
