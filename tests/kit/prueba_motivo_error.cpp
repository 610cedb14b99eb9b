// zulprueba's reasons for a failed system call: Spanish for what a contestant meets, and the
// number for what is rare.
#include "comun/motivo_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

// The errors a contestant meets with a bot, a map, a transcript or the template.
const int kComunes[] = {ENOENT, EACCES, EPERM,  EISDIR, ENOTDIR, ENAMETOOLONG, ELOOP,   EEXIST,
                        EROFS,  ENOSPC, EDQUOT, EFBIG,  EPIPE,   ENOEXEC,      ETXTBSY, E2BIG,
                        ENOMEM, EAGAIN, EMFILE, ENFILE, ENXIO,   ENODEV,       EIO};

TEST(MotivoError, LosComunesEnCastellano) {
    for (const int numero : kComunes) {
        const std::string motivo = zul::motivoDelSistema(numero);
        EXPECT_NE(motivo, std::strerror(numero)) << numero;
        EXPECT_EQ(motivo.find("error del sistema"), std::string::npos) << numero << ": " << motivo;
        // It follows "no se pudo ...: ", so it starts in lower case.
        ASSERT_FALSE(motivo.empty()) << numero;
        EXPECT_FALSE(motivo[0] >= 'A' && motivo[0] <= 'Z') << motivo;
        EXPECT_NE(zul::motivoAlCrear(numero), "") << numero;
    }
}

TEST(MotivoError, LosRarosPorSuNumero) {
    for (const int numero : {0, EXDEV, 4095, -3}) {
        EXPECT_EQ(zul::motivoDelSistema(numero),
                  "error del sistema número " + std::to_string(numero));
    }
}

// Creating a file: a missing or forbidden part of the path is the folder it goes in.
TEST(MotivoError, AlCrearHablaDeLaCarpeta) {
    const struct {
        int numero;
        const char* motivo;
    } filas[] = {
        {ENOENT, "no existe la carpeta"},
        {EACCES, "no hay permiso para escribir ahí"},
        {EPERM, "no hay permiso para escribir ahí"},
    };
    for (const auto& f : filas) {
        EXPECT_EQ(zul::motivoAlCrear(f.numero), f.motivo);
    }
    for (const int numero : {ENOSPC, EROFS, EDQUOT, ENOTDIR, EEXIST, ENAMETOOLONG}) {
        EXPECT_EQ(zul::motivoAlCrear(numero), zul::motivoDelSistema(numero));
    }
}

} // namespace
