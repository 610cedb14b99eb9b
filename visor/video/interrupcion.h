#pragma once

#include <atomic>

// Ctrl+C, Ctrl+\, a hang-up or SIGTERM during an export: the first one asks
// the export to stop and clean up; a second one ends the program at once, as
// usual, having removed the partial file.
namespace zul {

// Installs the handlers for SIGHUP, SIGINT, SIGQUIT and SIGTERM and returns the flag they set
// (cleared here), to hand to exportaVideo as its cancel flag.
const std::atomic<bool>& instalaCancelacionPorSenales();
// Puts back the handlers there were before.
void restauraSenales();
// The signal that set the flag, or 0: the command line exits with 128 plus it.
int senalRecibida();

} // namespace zul
