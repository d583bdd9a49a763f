// The program's registration with the shell at every normal start: "Path",
// which the screen saver reads to find the program, and ".bul" files opening
// with it.
#pragma once
#include <windows.h>

namespace lumarel {

// Writes "Path" and the ".bul" association for this program file, so a moved
// program is found again after one start. Failures stay silent: a user who
// may not write the classes root gets the association under his own
// "Software\Classes" instead, and nothing here ever ends start-up.
void registerProgram();

// The association for programPath under classesRoot; when any of its writes
// fails, under userRoot\"Software\Classes" instead. True when one of the two
// was written whole.
bool registerBulbFileType(const char* programPath, HKEY classesRoot, HKEY userRoot);

}  // namespace lumarel
