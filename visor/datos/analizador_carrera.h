#pragma once

#include "datos/carrera.h"
#include "datos/indice_tokens.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zul {

// The race log's grammar as one parser that can stop anywhere and go on when
// more bytes arrive. The whole-file reader feeds it a file piece by piece and
// the live reader feeds it what the referee has appended, so both read every
// log the same way. It keeps no white space and at most one name, one tag's
// first bytes or one number field of what it was given, so no input makes it
// hold more than a number field's limit.
class AnalizadorCarrera {
public:
    // Records go to `destino`; `registrosEstimados` player records are
    // reserved once the header has been read, and the frames of
    // `disparosEstimados` shots once there are kDisparosSinReserva shots.
    explicit AnalizadorCarrera(Carrera& destino, std::size_t registrosEstimados = 0,
                               std::size_t disparosEstimados = 0)
        : destino(destino), estimados(registrosEstimados), disparosEstimados(disparosEstimados) {}

    // Reads [inicio, fin). With `final`, fin is the end of the log; otherwise
    // more bytes may follow, and whatever could read differently with them
    // (a token or a number that reaches fin) is left for the next call.
    // Returns where the bytes that it left start: the next call must be given
    // them again, followed by the new bytes. Throws ErrorFormato when the
    // header has no usable player count.
    const char* analiza(const char* inicio, const char* fin, bool final);

    static constexpr std::size_t kDisparosSinReserva = std::size_t{1} << 16;

    // The player count and every name have been read into `destino`.
    bool cabeceraLeida() const { return fase == Fase::cuerpo || fase == Fase::terminado; }
    // Nothing more will be read: the log ended, or a player record could not
    // be read.
    bool terminado() const { return fase == Fase::terminado; }

private:
    enum class Fase { cuenta, nombres, cuerpo, terminado };
    enum class Registro { ninguno, jugador, disparo };

    const char* cuenta(const char* p, const char* fin, bool final);
    const char* nombres(const char* p, const char* fin, bool final);
    const char* cuerpo(const char* p, const char* fin, bool final);

    Carrera& destino;
    std::size_t estimados;
    std::size_t disparosEstimados;
    Fase fase = Fase::cuenta;

    // The player count as it is read, digit by digit.
    bool cuentaEmpezada = false;
    bool negativo = false;
    bool hayDigitos = false;
    bool desborde = false;
    unsigned long long magnitud = 0;
    long long n = 0;

    // The names read so far, and the one being read.
    std::vector<std::string> leidos;
    std::string nombre;
    bool enNombre = false;
    std::size_t largoNombre = 0;
    bool nombreConNulo = false;

    // The body: the frame being read, the record being read and its fields,
    // and whether the rest of a token is being skipped.
    int k = 0;
    long long j = 0;
    Registro registro = Registro::ninguno;
    int campos = 0;
    double valores[4] = {0, 0, 0, 0};
    bool saltando = false;
    IndiceTokens indice;
};

} // namespace zul
