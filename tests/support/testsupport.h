// Helpers shared by the tests: scratch files and byte access.
#ifndef ASDEDIT_TESTS_TESTSUPPORT_H
#define ASDEDIT_TESTS_TESTSUPPORT_H

#include <string>
#include <vector>

// A fresh, empty scratch directory for the running test, ending in a
// separator ('\\' on Windows, '/' elsewhere).
std::string ScratchDir();

std::vector<unsigned char> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool FileExists(const std::string& path);

#endif
