// The data folders on this machine: whether the program's folder takes
// writes, the user's application-data folder, and listings of both (the
// rules are in data_places.h).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/data_places.h"

namespace lumarel {

// The roots of this run. The program folder's writability is tried once, by
// making and removing a file there: Windows' per-user redirection of
// Program Files is switched off by our manifest, and Wine has no access
// lists to ask.
const DataRoots& dataRoots();
// True when a new file can be made in the folder (it is removed again).
bool folderTakesWrites(const char* folder);

// The folder this kind of file is written to, with its trailing backslash;
// false when its path leaves no room for a file name.
bool dataWriteFolder(DataKind kind, char (&folder)[MAX_PATH]);
// The same, made on disk when it is missing; false when it cannot be.
bool makeDataWriteFolder(DataKind kind, char (&folder)[MAX_PATH]);
// The folders read, the winning one last.
std::vector<std::string> dataReadFolders(DataKind kind);
// Makes a folder and any missing folders above it; false when it is not a
// folder afterwards (a file may stand in its place).
bool makeFolderTree(const std::string& folder);

struct DataFile {
    std::string name;  // the file's name in its folder
    std::string path;  // its full path
};
// The files matching `pattern` in each folder, merged (data_places.h): folders,
// hidden and temporary files are skipped, and so is a name whose full path
// does not fit in MAX_PATH. A folder that is missing or is a file adds nothing.
std::vector<DataFile> listFolders(const std::vector<std::string>& folders, const char* pattern);
std::vector<DataFile> listDataFiles(DataKind kind, const char* pattern);
// The last of the folders that holds a file (not a folder) of this name;
// empty when none does.
std::string folderHolding(const std::vector<std::string>& folders, const char* name);
// The full path of a named file of this kind: the copy in the folder that
// wins, or, when no folder has it, where it would be written. False when the
// path does not fit.
bool dataFilePath(DataKind kind, const char* name, char (&path)[MAX_PATH]);

// For tests: other roots for this run (null: back to the machine's own).
void setDataRootsForTests(const DataRoots* roots);

}  // namespace lumarel
