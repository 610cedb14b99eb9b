#pragma once

#include <stdexcept>

namespace zul {

// A file whose content cannot be used at all; the text says why, in Spanish.
class ErrorFormato : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace zul
