#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace zul {

// Bytes left in a regular file from its current position; 0 when that is not
// known (a pipe, a memory stream) or nothing is left.
std::size_t bytesRestantes(std::FILE* archivo);

// Reads whitespace-separated fields from a buffer with exactly the results of
// the C library's formatted input in the "C" locale ("%199s", "%lf", "%d",
// "%lld"): the same values, the same characters consumed on success and on
// failure, so that a reader built on it matches one built on fscanf token for
// token. It never depends on the process's locale.
class Escaner {
public:
    Escaner(const char* inicio, const char* fin) : p(inicio), fin(fin) {}

    // "%<ancho>s": false at the end of the input. The token is cut at `ancho`
    // characters; the rest is left for the next read.
    bool token(const char*& inicio, std::size_t& largo, std::size_t ancho) {
        saltaEspacios();
        if (p == fin) {
            return false;
        }
        inicio = p;
        // Inline: most tokens are one letter, a call costs more than the scan.
        const char* limite = static_cast<std::size_t>(fin - p) > ancho ? p + ancho : fin;
        while (p < limite && !esEspacio(static_cast<unsigned char>(*p))) {
            ++p;
        }
        largo = static_cast<std::size_t>(p - inicio);
        return true;
    }
    // "%lf"
    bool real(double& valor);
    // "%d": the value as the C library stores it (saturated to long, then
    // truncated to int).
    bool entero(int& valor);
    // "%lld"
    bool enteroLargo(long long& valor);
    // "%lf %lf %lf %d" and "%lf %lf %lf %lf": the same as the reads one after
    // another, with one call for the whole record.
    bool reales3Entero(double& a, double& b, double& c, int& d);
    bool reales4(double& a, double& b, double& c, double& d);

    // A run of "%d" reads of single-digit numbers, each followed by white
    // space: stores each digit character (the map's '0' + value) into destino,
    // up to `maximo` of them, and returns how many. It stops where the next
    // field is anything else, which is then left to entero().
    std::size_t digitosSueltos(char* destino, std::size_t maximo);

    bool alFinal() const { return p == fin; }
    // Skips white space, which any read would skip first, and says where the
    // next token starts.
    const char* saltaBlancos() {
        saltaEspacios();
        return p;
    }
    // Moves on to q, which lies between posicion() and the end of the input,
    // once a reader has taken what lies before it by other means.
    void avanzaA(const char* q) { p = q; }
    // Where the next read starts. A read that looked at the end of the input
    // leaves it at the end: only then could more input have changed its result.
    const char* posicion() const { return p; }

private:
    static constexpr int kFin = -1;

    int lee() { return p < fin ? static_cast<unsigned char>(*p++) : kFin; }
    void devuelve(int c) {
        if (c != kFin) {
            --p;
        }
    }
    static bool esEspacio(int c) { return c == ' ' || static_cast<unsigned>(c - '\t') < 5; }
    void saltaEspacios() {
        while (p < fin && esEspacio(static_cast<unsigned char>(*p))) {
            ++p;
        }
    }
    bool realRapido(double& valor);
    bool enteroRapido(int& valor);
    bool enteroSaturado(long long& valor);

    const char* p;
    const char* fin;
};

} // namespace zul
