#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes bytes to path without ever leaving the old contents half-replaced: the bytes
// go to a temporary file "NAME.zapis-XXXXXX.tmp" beside the file, which is synced and
// renamed over it. A symbolic link is written through (the file it names gets the new
// contents, the link stays); an existing file keeps its permissions, a new one gets
// the ordinary ones. Temporary files that an interrupted save of the same file left
// behind are removed after a successful one. False when it could not be done.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
// The temporary name's prefix for a file name (without its folder).
std::string SaveTempPrefix(const std::string& fileName);
