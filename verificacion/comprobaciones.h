// What must hold after the loaders and the contestant library read any input.
// Each check runs one input through the code under test and returns an empty
// string when everything held, or a description of the first thing that did not.
// The fuzz targets abort on a non-empty result; the regression tests expect it empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace zul::robustez {

// The race log loader: parallel sequences, shot frames, player count and names.
std::string compruebaCarrera(const std::string& bytes);

// The race log loader against the fscanf reader: same race or same error.
std::string compruebaCarreraReferencia(const std::string& bytes);

// The map loader: a grid of exactly rows × columns cells, no value other than
// 0-3 and 5 kept as an arrow or the wall, and the same result as the fscanf reader.
std::string compruebaMapa(const std::string& bytes);

// The contestant library's map and turn reading with a test strategy: every
// value it reports, every answer line and its final status are checked against
// an independent reading of the same bytes.
std::string compruebaProtocolo(const std::string& bytes);

// Declared grids above this many cells are checked only up to their header: a
// whole one takes as much memory as it declares, which the fuzzer would count
// as a leak of resources rather than a finding.
constexpr long long kMaxCeldasComprobadas = 1LL << 22;

// The bytes as a read-only stream (NUL bytes included); nullptr if impossible.
std::FILE* abreMemoria(std::string& bytes);

// For the fuzz targets: prints the failure with the input's size and aborts.
void exige(const std::string& fallo, std::size_t tam);

} // namespace zul::robustez
