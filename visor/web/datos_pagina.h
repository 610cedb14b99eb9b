#pragma once

#include "datos/carrera.h"
#include "datos/mapa.h"

#include <QByteArray>

namespace zul {

// The race and the map as the web page carries them: one binary block,
// deflated (zlib), that the page inflates with the browser's
// DecompressionStream and reads back bit for bit.
//
// Little-endian throughout. "ZULW", version 2, then as u32: players, records,
// shots; as i32: rows, columns. Then the columns x, y, heading (one value per
// record), the shots' x1, y1, x2, y2, the laps, the shots' frames and the
// cells (one byte each). Last, the viewer's standings where it ranks by
// progress round the track (analisis/analisis.h): as u32 the frames ranked
// (0: none, and the page ranks by laps), then for every complete frame the
// players best first, and each one's gap to the leader: frames when on the
// leader's lap, minus the laps behind when lapped.
//
// A column of doubles is written as whole numbers when its values are
// decimals of a few places, as the referee writes them: value = k / 10^d,
// which a browser's division gives exactly as a parser reads the text. Each k
// is stored as its difference (modulo 2^32) from the same player's previous
// record, so a kart that moves a little costs a few small bytes. Values that
// are no such decimal (NaN, -0, too many places) go whole as exceptions. The
// 32-bit words are written byte plane by byte plane, which deflate packs far
// better than interleaved bytes.
QByteArray codificaCarrera(const Carrera& carrera, const Mapa& mapa);

// The block deflated as a zlib stream.
QByteArray comprimeCarrera(const Carrera& carrera, const Mapa& mapa);

} // namespace zul
