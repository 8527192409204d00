// What the tests hold the program to, written apart from its code: the save
// file's records and values, what the editor shows of them, scratch files.
#ifndef ASDEDIT_TESTS_SUPPORT_MODEL_H
#define ASDEDIT_TESTS_SUPPORT_MODEL_H

#include <cstdint>
#include <string>
#include <vector>

#include "core/savefile.h"

typedef std::vector<unsigned char> Bytes;
// What the game's save writes into the last counter in the seam of asdtool's tests.
const std::uint16_t GameSavedCounter = 4242;
const long ModelLength = 282436 + 100;  // a file that holds every value

// Random bytes around the two records, ModelLength + 64 long; END? values 0 or 1 when tidy.
Bytes SyntheticSave(unsigned seed, bool tidy = false);
std::uint16_t WordAt(const Bytes& bytes, long at);
void PutWord(Bytes& bytes, long at, std::uint16_t value);
long CounterOffset(int k);
long StatOffset(int row, int unit);

// The values a load of bytes gives (END? ticked = 1); the file a store of state over bytes makes.
GameStateData StateOf(const Bytes& bytes);
Bytes Stored(Bytes bytes, const GameStateData& state);
bool operator==(const GameStateData& a, const GameStateData& b);
// What the editor holds once it has shown unit, or opened bytes: values held to their fields.
void ShowUnit(GameStateData& state, int unit);
GameStateData Opened(const Bytes& bytes);

// Paths are UTF-8, as the program takes them.
std::string ScratchDir();  // a new empty folder, ending in a separator
void RemoveScratchDirs();  // every folder ScratchDir made, with what they hold
Bytes ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const Bytes& bytes);  // making its folders
std::vector<Bytes> FolderFiles(const std::string& folder);     // its files, in name order

#endif
