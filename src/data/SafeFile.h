// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes bytes to path without ever leaving the old contents half-replaced: the bytes
// go to a temporary file "NAME.zapis-XXXXXX.tmp" beside the file, which is synced and
// renamed over it. A symbolic link is written through (the file it names gets the new
// contents, the link stays); a loop of links is refused. An existing file keeps its
// permissions, a new one gets the ordinary ones. False when it could not be done.
//
// Saves of one file may run at once in several processes: each touches only its own
// temporary file. Leftovers of saves whose process died are removed by a later save,
// but only once nobody holds them (see OpenSaveTemp).
bool WriteFileAtomically(const std::string& path, const std::string& bytes);
// The whole file; false (bytes untouched) when it cannot be opened or read to its end.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
// The temporary name's prefix for a file name (without its folder).
std::string SaveTempPrefix(const std::string& fileName);

// Creates the temporary file of one save of target (which must not be a link) and
// returns its descriptor, -1 on failure; tmpPath gets its name. The descriptor holds a
// lock on the file for as long as it stays open: the kernel drops the lock only when
// the writer closes it or dies, so a free lock proves the writer gone, whatever the
// process ids, namespaces or machines sharing the folder.
int OpenSaveTemp(const std::string& target, std::string& tmpPath);
