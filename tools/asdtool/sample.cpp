// The sample maker: a new save file with plausible values, the same bytes
// for the same seed on every platform.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "commands.h"
#include "core/savefile.h"
#include "files.h"

namespace {

// xorshift32: small, and the same numbers on every platform for a seed.
struct RandomNumbers {
  std::uint32_t state;
};

std::uint32_t NextRandom(RandomNumbers* random) {
  std::uint32_t x = random->state;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  return random->state = x;
}

// A random number from low to high, both included.
std::uint16_t RandomFromTo(RandomNumbers* random, unsigned low, unsigned high) {
  return static_cast<std::uint16_t>(low + NextRandom(random) % (high - low + 1));
}

// Plausible values for every region of a save file.
void FillSample(RandomNumbers* random, GameStateData* state) {
  state->turnCount = RandomFromTo(random, 1, 300);
  for (std::uint16_t& v : state->smallValues) v = RandomFromTo(random, 0, 3);
  for (std::uint16_t& v : state->counters) v = RandomFromTo(random, 0, 99);
  for (int u = 0; u < UnitCount; ++u) {
    const std::uint16_t maxHp = RandomFromTo(random, 20, 300);
    // clang-format off
    const std::uint16_t values[StatCount] = {
        RandomFromTo(random, 1, 99),      // level
        RandomFromTo(random, 3, 8),       // movement
        RandomFromTo(random, 0, 99),      // experience
        RandomFromTo(random, 1, 3),       // range
        RandomFromTo(random, 1, maxHp),   // hit points
        maxHp,
        RandomFromTo(random, 5, 150),     // attack
        RandomFromTo(random, 5, 150),     // defence
        RandomFromTo(random, 0, 150),     // magic
        RandomFromTo(random, 0, 150),     // magic resistance
        RandomFromTo(random, 50, 99),     // accuracy
        RandomFromTo(random, 0, 50),      // evasion
        RandomFromTo(random, 0, 9),       // X
        RandomFromTo(random, 0, 4),       // Y
        RandomFromTo(random, 0, 100),     // charge
        RandomFromTo(random, 0, 1),       // END?
    };
    // clang-format on
    for (int r = 0; r < StatCount; ++r) state->statRows[r][u] = values[r];
  }
}

// The length of a sample: every statistic slot whole, up to the twentieth.
const long SampleLength = 274836 + 20 * 400;

// Writes a whole sample into file: the records and random filler bytes, then
// the values of GameState through the editor's own code, END? inverted and all.
bool WriteSample(std::FILE* file, RandomNumbers* random) {
  std::vector<unsigned char> bytes(SampleLength);
  for (unsigned char& b : bytes) b = static_cast<unsigned char>(NextRandom(random) >> 24);
  std::memcpy(bytes.data(), SaveHeaderText, SaveHeaderLength);
  std::memcpy(bytes.data() + 96, SaveTitleText, SaveTitleLength);
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
         WriteSaveValues(file) == 0;
}

}  // namespace

int SampleCommand(const char* path, std::uint32_t seed, bool force) {
  // The seed is spread over the state; xorshift never leaves a zero state.
  RandomNumbers random = {seed * 2654435761U ^ 0x5EED5A7EU};
  if (random.state == 0) random.state = 1;
  FillSample(&random, &GameState);
  return WriteBeside(path, force, [&](std::FILE* file) { return WriteSample(file, &random); });
}
