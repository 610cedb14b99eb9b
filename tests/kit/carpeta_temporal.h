// Files that a test writes live in a folder of that test's own, under GoogleTest's TempDir(),
// which is removed with all it holds when the test ends.
#pragma once

#include <string>

// A path inside the running test's folder; the folder is made on first use.
std::string rutaTemporal(const std::string& nombre);

// Writes `contenido` to rutaTemporal(nombre) and returns that path.
std::string escribirArchivo(const std::string& nombre, const std::string& contenido);

std::string leerArchivo(const std::string& ruta);
