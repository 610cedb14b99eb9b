#pragma once

#include "datos/escritura_segura.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

struct AVIOContext;

namespace zul {

// Where a video goes while it is encoded: a new file beside the destination
// (beside the file a symbolic link points to), named after it with a random
// tail and with the permissions of the file it replaces, that becomes the
// destination only through publica(). Until then the destination keeps whatever it had, and a
// failed or abandoned export removes the partial file, so no file is ever left claiming to be a
// finished video.
class CArchivoParcial {
public:
    CArchivoParcial() = default;
    ~CArchivoParcial();
    CArchivoParcial(const CArchivoParcial&) = delete;
    CArchivoParcial& operator=(const CArchivoParcial&) = delete;

    // Creates the partial file. False, with the reason in Spanish naming
    // `destino`, when the folder cannot take it or `destino` is not a plain file.
    bool abre(const QString& destino, QString& error);

    // The writer for libavformat (seekable, owned here) and the partial
    // file's path, which the MP4 muxer reopens to move its index to the front.
    AVIOContext* contexto() const { return avio; }
    const QByteArray& rutaParcial() const { return parcial; }

    // Flushes, syncs and closes the file, then renames it over the
    // destination. False, with the reason in Spanish, on any write error met
    // so far or now; the partial file is removed then.
    bool publica(QString& error);
    // Closes and removes the partial file; the destination is left as it was.
    void descarta();

    // The reason for the first write that failed, for messages; empty if none.
    QString motivoFallo() const;

    // Test seam: writes fail as on a full disk once `bytes` have been written.
    void limitaBytes(long long bytes) { limite = bytes; }

private:
    static int escribe(void* propio, const std::uint8_t* datos, int tamano);
    static int escribeFfmpeg(void* propio, std::uint8_t* datos, int tamano) {
        return escribe(propio, datos, tamano);
    }
    static std::int64_t busca(void* propio, std::int64_t posicion, int desde);
    void cierra();

    QString destino;
    DestinoEscritura final;
    QByteArray parcial;
    int descriptor = -1;
    AVIOContext* avio = nullptr;
    long long escritos = 0;
    long long limite = -1;
    int errorEscritura = 0;
};

// The reason for a system error on a file or its folder, in Spanish.
QString motivoSistema(int numero, const QString& carpeta);

} // namespace zul
