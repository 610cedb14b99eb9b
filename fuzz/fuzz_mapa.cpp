// libFuzzer entry for the map loader; the checks are in comprobaciones.h.
#include "comprobaciones.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tam) {
    const std::string bytes(reinterpret_cast<const char*>(datos), tam);
    zul::robustez::exige(zul::robustez::compruebaMapa(bytes), tam);
    return 0;
}
