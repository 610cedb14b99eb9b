#pragma once

#include "entradas.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

namespace zul::bench {

// What every group of benchmarks needs: the sizes of the inputs, where to
// write them, and the folder of the bundled sample race.
struct Contexto {
    Tamanos tamanos;
    std::shared_ptr<DirectorioTemporal> temporal;
    std::string ejemplos;
};

// Builds an input the first time a benchmark asks for it and keeps it for the
// later runs of that benchmark and of its baseline, so that generating it is
// never timed and happens only when one of its benchmarks is selected.
template <typename T> class Perezoso {
public:
    explicit Perezoso(std::function<T()> crea) : crea(std::move(crea)) {}
    const T& operator()() {
        if (!valor) {
            valor = std::make_unique<T>(crea());
        }
        return *valor;
    }

private:
    std::function<T()> crea;
    std::unique_ptr<T> valor;
};

void registraCarga(const Contexto& contexto);
void registraTurno(const Contexto& contexto);
void registraPintado(const Contexto& contexto);
void registraClasificacion(const Contexto& contexto);
void registraEnVivo(const Contexto& contexto);
void registraVideo(const Contexto& contexto);

} // namespace zul::bench
