// libFuzzer entry for the debug-file reader: any bytes are read or refused with ErrorFormato,
// and reading them in two pieces, as live following does, gives the same turns as at once.
#include "datos/depuracion.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// The turns read, or -1 when the file is refused.
long lee(std::string_view texto, std::size_t corte) {
    zul::Depuracion d("fuzz.dep");
    try {
        d.anade(texto.substr(0, corte));
        d.anade(texto.substr(corte));
        d.termina();
        d.compruebaCarrera(4, 1000);
    } catch (const zul::ErrorFormato&) {
        return -1;
    }
    return static_cast<long>(d.turnos().size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tam) {
    const std::string_view texto(reinterpret_cast<const char*>(datos), tam);
    if (lee(texto, tam) != lee(texto, tam / 2)) {
        std::abort();
    }
    return 0;
}
