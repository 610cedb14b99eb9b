#include "web/depuracion_pagina.h"

#include "web/pagina_html.h"

#include <charconv>
#include <cmath>

namespace zul {

namespace {

void numero(QByteArray& json, double v) {
    if (!std::isfinite(v)) {
        json += "null";
        return;
    }
    char texto[32];
    const auto r = std::to_chars(texto, texto + sizeof texto, v);
    json.append(texto, static_cast<qsizetype>(r.ptr - texto));
}

void texto(QByteArray& json, const std::string& t) {
    json += jsonTexto(QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()))).toUtf8();
}

} // namespace

QByteArray depuracionJson(const std::vector<Depuracion>& archivos, long long desfase) {
    QByteArray json = "{\"desfase\":" + QByteArray::number(desfase) + ",\"archivos\":[";
    for (std::size_t f = 0; f < archivos.size(); ++f) {
        json += (f > 0 ? ",{\"id\":" : "{\"id\":") + QByteArray::number(archivos[f].id()) +
                ",\"turnos\":[";
        bool primero = true;
        for (const TurnoDepuracion& t : archivos[f].turnos()) {
            json += primero ? "[" : ",[";
            primero = false;
            json += t.disparo ? "1," : "0,";
            numero(json, t.ordenX);
            json += ',';
            numero(json, t.ordenY);
            json += ",[";
            for (std::size_t k = 0; k < t.dibujos.size(); ++k) {
                const DibujoDepuracion& d = t.dibujos[k];
                json += k > 0 ? ",[" : "[";
                json += QByteArray::number(static_cast<int>(d.tipo)) + ',' +
                        QByteArray::number(d.color);
                const double valores[] = {d.a, d.b, d.c, d.d};
                const int cuantos = d.tipo == DibujoDepuracion::Linea     ? 4
                                    : d.tipo == DibujoDepuracion::Circulo ? 3
                                                                          : 2;
                for (int v = 0; v < cuantos; ++v) {
                    json += ',';
                    numero(json, valores[v]);
                }
                if (d.tipo == DibujoDepuracion::Texto) {
                    json += ',';
                    texto(json, d.texto);
                }
                json += ']';
            }
            json += "],[";
            for (std::size_t k = 0; k < t.notas.size(); ++k) {
                if (k > 0) {
                    json += ',';
                }
                texto(json, t.notas[k]);
            }
            json += "]]";
        }
        json += "]}";
    }
    return json + "]}";
}

QByteArray depuracionPagina(const std::vector<Depuracion>& archivos, long long desfase) {
    if (archivos.empty()) {
        return QByteArray();
    }
    // qCompress puts the length before the zlib stream.
    return qCompress(depuracionJson(archivos, desfase), 9).mid(4).toBase64();
}

} // namespace zul
