// Reading the map and turns files: the file checked before it is read, and its words (runs of
// bytes between white space) taken one by one.
#pragma once

#include <cstdio>
#include <string>

namespace zul {

// An open data file. Throws ErrorDePrueba, naming `que` and the path, for a file that cannot be
// opened, a folder, or a device (which could never end).
class ArchivoDeDatos {
public:
    ArchivoDeDatos(const std::string& ruta, const char* que);
    ~ArchivoDeDatos();
    ArchivoDeDatos(const ArchivoDeDatos&) = delete;
    ArchivoDeDatos& operator=(const ArchivoDeDatos&) = delete;

    // The next word, kept whole; false at the end of the file. A control byte ends the word it
    // is in, so a binary file fails at its first bad word instead of being read to its end.
    // A word longer than `maximo` bytes (0: no limit) throws ErrorDePrueba.
    bool siguiente(std::string& palabra, size_t maximo = 0);

    const std::string& ruta() const { return ruta_; }
    // The stream itself, for a reader of its own format.
    std::FILE* flujo() const { return f_; }

private:
    std::FILE* f_ = nullptr;
    std::string ruta_;
};

} // namespace zul
