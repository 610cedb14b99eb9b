// What keeps zulprueba from testing a bot: bad options, an unusable map or turns file, a bot
// that cannot be run. main() prints it after "zulprueba: " and exits with status 2.
#pragma once

#include <stdexcept>
#include <string>

namespace zul {

struct ErrorDePrueba : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace zul
