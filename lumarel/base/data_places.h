// Where lumarel keeps the files it writes and reads: bulbs, songs and
// pictures sit in folders beside the program. When the program's folder is
// not writable (an all-users install in Program Files), what the program
// writes goes to the same-named folders under "<AppData>\Lumarel\" instead,
// and every listing reads both, the user's copy winning over the program's.
// These are the rules as plain data; data_folders.h asks Windows for the
// roots and lists the folders.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumarel {

enum class DataKind { Bulbs, Music, Pictures };

// The folder's own name with its trailing backslash ("Lumarel Bulbs\").
const char* dataFolderName(DataKind kind);

// The two roots the data folders hang from, each with a trailing backslash.
struct DataRoots {
    std::string program;          // the program's folder
    std::string user;             // "<AppData>\Lumarel\"; empty when unknown
    bool programWritable = true;  // a file could be made (and removed) there
};

// folder + name with exactly one backslash between; empty for an empty folder.
std::string joinFolder(std::string_view folder, std::string_view name);
// "<appData>\Lumarel\"; empty when there is no application-data folder.
std::string userDataRoot(std::string_view appData);

// Where files of this kind are written: beside the program when it may write
// there or when the user has no folder of their own; else the user's folder.
std::string writeFolderOf(const DataRoots& roots, DataKind kind);
// The folders read, the one that wins on equal names last. The user's folder
// is read whether or not the program's is writable, so that bulbs written
// while it was not stay visible; it is left out when it is the program's own.
std::vector<std::string> readFoldersOf(const DataRoots& roots, DataKind kind);

// Where a changed copy of an existing file of this kind goes: over the file
// itself, unless it lies in the program's folder while that takes no writes;
// then under the same name in the user's folder, where it wins from then on.
std::string rewritePathOf(const DataRoots& roots, DataKind kind, std::string_view path);

// One name of a merged listing and the read folder (its index) it comes from.
struct ListedName {
    std::string name;
    size_t folder = 0;
};
// Merges one listing per read folder (same order as readFoldersOf): each
// name once, compared without regard to letter case as Windows compares file
// names, taken from the last folder that has it (with that folder's spelling);
// the result in name order, letter case ignored.
std::vector<ListedName> mergeListings(const std::vector<std::vector<std::string>>& listings);

}  // namespace lumarel
