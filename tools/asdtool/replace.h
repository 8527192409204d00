// What --force may replace, and what the replacement keeps of the file it
// replaces: on POSIX its permission bits, owner, group, access-control list
// and user extended attributes; on Windows its attributes, owner, group and
// access-control list.
#ifndef ASDEDIT_TOOLS_ASDTOOL_REPLACE_H
#define ASDEDIT_TOOLS_ASDTOOL_REPLACE_H

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// The file to be replaced, as ReadOriginal found it.
struct Original {
  bool exists = false;
  unsigned long mode = 0;  // POSIX: the permission bits; Windows: the attributes
  unsigned long owner = 0;
  unsigned long group = 0;
  std::vector<std::pair<std::string, std::string>> extended;  // POSIX: name and value
  std::vector<unsigned char> security;                        // Windows: a security descriptor
};

// The file path names at the end of its symbolic links, which need not exist
// yet: "" or why the links cannot be followed.
std::string FollowLinks(const std::filesystem::path& path, std::filesystem::path* target);

// What the regular file at target has, when there is one: "" or why it may
// not be replaced. A file the user could not open for writing is refused with
// the system's reason, as is one with other names (hard links), which a
// replacement would part from it.
std::string ReadOriginal(const std::filesystem::path& target, Original* original);

// Gives the open new file at path what original had: "" or why it cannot.
// The owner and group come before the new file is filled, so that a file
// that cannot have them is never written; the rest after it is filled.
std::string GiveOwner(int descriptor, const Original& original);
std::string GiveRest(int descriptor, const std::filesystem::path& path, const Original& original);

#endif
