// What --force may replace, and what the replacement keeps of the file it
// replaces: on POSIX its permission bits, owner, group, access-control list
// and user extended attributes; on Windows its attributes, owner, group and
// access-control list.
#ifndef ASDEDIT_TOOLS_ASDTOOL_REPLACE_H
#define ASDEDIT_TOOLS_ASDTOOL_REPLACE_H

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "system.h"

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

// A new file in folder named name, made by this call and no other, open for
// reading and writing: the stream, or null with *why (*exists when a file has
// that name). On POSIX readable by its owner alone when ownerOnly (a copy of
// a file whose own permissions come later); on Windows it has original's
// attributes from the start.
std::FILE* MakeFile(const Folder& folder, const std::filesystem::path& name,
                    const Original& original, bool ownerOnly, std::string* why, bool* exists);

// Gives the new file what original had, through the stream it was made with:
// "" or why it cannot. The owner, group and permissions come before the new
// file is filled, so that a file that cannot have them is never written; the
// rest after it is filled.
std::string GiveOwner(std::FILE* file, const Original& original);
std::string GiveRest(std::FILE* file, const Original& original);

#endif
