#pragma once

#include <atomic>

// Ctrl+C and SIGTERM during an export: the first one asks the export to stop
// and clean up; a second one ends the program at once, as usual.
namespace zul {

// Installs the handlers for SIGINT and SIGTERM and returns the flag they set
// (cleared here), to hand to exportaVideo as its cancel flag.
const std::atomic<bool>& instalaCancelacionPorSenales();
// Puts back the handlers there were before.
void restauraSenales();
// The signal that set the flag, or 0: the command line exits with 128 plus it.
int senalRecibida();

} // namespace zul
