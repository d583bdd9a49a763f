// The program's entry (mdl_main): installation check, settings, switches.
#pragma once

namespace flurrin {

// Runs the program for one command line (without the program name) and
// returns the process exit code when its last form has closed.
int mdl_main(const char* command_line);

}  // namespace flurrin
