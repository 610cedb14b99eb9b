#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zul {

// Where the whitespace-separated tokens of a stretch of text start, found 64
// bytes at a time. With every field's start known beforehand, the fields of a
// record can be parsed side by side rather than each waiting for the end of
// the one before it.
class IndiceTokens {
public:
    // Indexes [desde, hasta), at most 4 GB. `desde` starts a token unless it
    // is white space, whatever precedes it.
    void indexa(const char* desde, const char* hasta);

    std::size_t cuantos() const { return n; }
    const char* token(std::size_t k) const { return base + inicios[k]; }
    const char* hasta() const { return fin; }

private:
    const char* base = nullptr;
    const char* fin = nullptr;
    // Offsets from base; the storage is kept from one stretch to the next.
    std::vector<std::uint32_t> inicios;
    std::size_t n = 0;
};

} // namespace zul
