// libFuzzer entry for the live race log reader: the log given in pieces that
// the fuzzer chooses must read as the whole file does; the check is in
// comprobar_incremental.h.
//
// The first byte says how the rest is cut: with its top bit set, into single
// bytes; otherwise its low four bits count the bytes that follow it, each the
// length (1 to 256) of one more piece.
#include "comprobaciones.h"
#include "comprobar_incremental.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tam) {
    if (tam == 0) {
        return 0;
    }
    const std::uint8_t modo = datos[0];
    std::size_t inicio = 1;
    std::vector<std::size_t> largos;
    if ((modo & 0x80) == 0) {
        const std::size_t cuantos = modo & 0x0F;
        for (; inicio < tam && largos.size() < cuantos; ++inicio) {
            largos.push_back(static_cast<std::size_t>(datos[inicio]) + 1);
        }
    }
    const std::string log(reinterpret_cast<const char*>(datos) + inicio, tam - inicio);
    std::vector<std::size_t> cortes;
    if ((modo & 0x80) != 0) {
        for (std::size_t p = 1; p < log.size(); ++p) {
            cortes.push_back(p);
        }
    } else {
        std::size_t p = 0;
        for (const std::size_t largo : largos) {
            p += largo;
            cortes.push_back(p);
        }
    }
    zul::robustez::exige(zul::robustez::compruebaIncremental(log, cortes), tam);
    return 0;
}
