#pragma once
// The last word on a crash. The HDF5 library can crash inside a read of a
// damaged file (a corrupted byte in a string's heap is enough); the run then
// ends like any other failure, with one line naming the file and what was
// being read, status 1, and no output of the run left behind.

namespace results {

// Handles SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT for the rest of the
// process. Every crash first removes the staged outputs; a crash outside the
// library's reads then takes its previous course, so that faults of the
// program itself still show as what they are.
// An interruption (SIGINT, SIGTERM, SIGHUP, and every other signal whose
// default action ends the process) also removes the staged outputs before it
// ends the process as it would have.
// A damaged file can also send the library round in a loop: one read that
// has computed for readSeconds of processor time inside the library ends the
// run the same way (a whole dataset of a large run is read in a few seconds).
void installCrashGuard(int readSeconds = 60);

}  // namespace results
