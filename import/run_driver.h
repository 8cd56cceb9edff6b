// One import run, from the command line to the final commit.
#pragma once

// Runs the import for the command line
//   zarnik <Ini-Datei> <Quelle> <Parm-Datei> [<KSW-Bezeichner>]
// and returns the process's exit code: 0 when the run reached its end, 1 for
// a wrong argument count, a missing file, a failed connection, a parameter
// file that cannot be written or a failed final commit. A statement that does
// not fit its buffer ends the process on the spot with exit code 1.
int runImport(int argumentCount, char** arguments);
