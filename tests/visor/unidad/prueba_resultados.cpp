// `visor --resultados`: the results of race logs as a text table, CSV and
// JSON, with its messages and exit statuses.
#include "analisis/resultados.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

// Three players: ana completes lap 1 at frame 1, "be,to" at frame 2, and the
// third, named with quotes, never.
const char* const kCarrera = "3 ana be,to \"cu\"\n"
                             "p 0 0 0 0 p 0 0 0 0 p 0 0 0 0\n"
                             "p 0 0 0 1 p 0 0 0 0 p 0 0 0 0\n"
                             "p 0 0 0 1 p 0 0 0 1 p 0 0 0 0\n"
                             "p 0 0 0 1 p 0 0 0 1 p 0 0 0 0\n";

class Resultados : public ::testing::Test {
protected:
    QString escribe(const QString& nombre, const QByteArray& contenido) {
        const QString ruta = QDir(carpeta.path()).filePath(nombre);
        QFile archivo(ruta);
        EXPECT_TRUE(archivo.open(QIODevice::WriteOnly));
        archivo.write(contenido);
        return ruta;
    }

    int ejecuta(const QStringList& rutas, zul::FormatoResultados formato) {
        salida.str("");
        errores.str("");
        return zul::escribeResultados(rutas, formato, salida, errores);
    }

    QTemporaryDir carpeta;
    std::ostringstream salida;
    std::ostringstream errores;
};

TEST(CampoCsv, CitaSoloLoQueHaceFalta) {
    const struct {
        const char* valor;
        const char* campo;
    } filas[] = {
        {"ana", "ana"},
        {"", ""},
        {"be,to", "\"be,to\""},
        {"di\"jo", "\"di\"\"jo\""},
        {"\"", "\"\"\"\""},
        {"dos\nlineas", "\"dos\nlineas\""},
        {"retorno\r", "\"retorno\r\""},
        {"a, \"b\"\r\nc", "\"a, \"\"b\"\"\r\nc\""},
        {"ñandú", "ñandú"},
    };
    for (const auto& f : filas) {
        EXPECT_EQ(zul::campoCsv(QString::fromUtf8(f.valor)).toStdString(), f.campo) << f.valor;
    }
}

TEST(FormatoResultados, SoloLosTresNombres) {
    zul::FormatoResultados formato = zul::FormatoResultados::Json;
    EXPECT_TRUE(zul::leeFormatoResultados(QStringLiteral("texto"), formato));
    EXPECT_EQ(formato, zul::FormatoResultados::Texto);
    EXPECT_TRUE(zul::leeFormatoResultados(QStringLiteral("csv"), formato));
    EXPECT_EQ(formato, zul::FormatoResultados::Csv);
    EXPECT_TRUE(zul::leeFormatoResultados(QStringLiteral("json"), formato));
    EXPECT_EQ(formato, zul::FormatoResultados::Json);
    for (const char* malo : {"", "CSV", "xml", "texto "}) {
        EXPECT_FALSE(zul::leeFormatoResultados(QString::fromUtf8(malo), formato)) << malo;
    }
}

TEST_F(Resultados, CsvConCabeceraYCamposCitados) {
    // The path is written as given, and quoted too when it needs it.
    const QString ruta = escribe(QStringLiteral("carrera,1.txt"), kCarrera);
    ASSERT_EQ(ejecuta({ruta}, zul::FormatoResultados::Csv), 0);
    const std::string r = zul::campoCsv(ruta).toStdString();
    EXPECT_EQ(r.front(), '"');
    EXPECT_EQ(salida.str(), "carrera,posicion,jugador,nombre,vueltas,paso,mejor_vuelta,"
                            "ultima_vuelta,diferencia_vueltas,diferencia_pasos\r\n" +
                                r + ",1,0,ana,1,1,1,1,0,0\r\n" + r +
                                ",2,1,\"be,to\",1,2,2,2,0,1\r\n" + r +
                                ",3,2,\"\"\"cu\"\"\",0,0,,,1,\r\n");
    EXPECT_EQ(errores.str(), "");
}

TEST_F(Resultados, JsonConNumerosYNulos) {
    const QString a = escribe(QStringLiteral("a.txt"), kCarrera);
    const QString b = escribe(QStringLiteral("b.txt"), "1 solo\np 0 0 0 0\np 0 0 0 2\n");
    ASSERT_EQ(ejecuta({a, b}, zul::FormatoResultados::Json), 0);
    QJsonParseError fallo;
    const QJsonDocument documento =
        QJsonDocument::fromJson(QByteArray::fromStdString(salida.str()), &fallo);
    ASSERT_EQ(fallo.error, QJsonParseError::NoError) << salida.str();
    ASSERT_TRUE(documento.isArray());
    const QJsonArray lista = documento.array();
    ASSERT_EQ(lista.size(), 4);
    const QStringList claves = {"carrera",         "posicion",      "jugador",
                                "nombre",          "vueltas",       "paso",
                                "mejor_vuelta",    "ultima_vuelta", "diferencia_vueltas",
                                "diferencia_pasos"};
    for (const QJsonValue& valor : lista) {
        ASSERT_TRUE(valor.isObject());
        QStringList esperadas = claves;
        QStringList tiene = valor.toObject().keys();
        esperadas.sort();
        tiene.sort();
        EXPECT_EQ(tiene, esperadas);
    }
    const QJsonObject tercero = lista[2].toObject();
    EXPECT_EQ(tercero["carrera"].toString(), a);
    EXPECT_EQ(tercero["nombre"].toString(), QStringLiteral("\"cu\""));
    EXPECT_TRUE(tercero["posicion"].isDouble());
    EXPECT_EQ(tercero["posicion"].toInt(), 3);
    EXPECT_EQ(tercero["jugador"].toInt(), 2);
    EXPECT_EQ(tercero["vueltas"].toInt(), 0);
    EXPECT_EQ(tercero["paso"].toInt(), 0);
    EXPECT_TRUE(tercero["mejor_vuelta"].isNull());
    EXPECT_TRUE(tercero["ultima_vuelta"].isNull());
    EXPECT_EQ(tercero["diferencia_vueltas"].toInt(), 1);
    EXPECT_TRUE(tercero["diferencia_pasos"].isNull());
    const QJsonObject solo = lista[3].toObject();
    EXPECT_EQ(solo["carrera"].toString(), b);
    // A jump of two laps: the first has the time, the last (and so the last
    // lap time) none.
    EXPECT_EQ(solo["vueltas"].toInt(), 2);
    EXPECT_EQ(solo["mejor_vuelta"].toInt(), 1);
    EXPECT_TRUE(solo["ultima_vuelta"].isNull());
    EXPECT_EQ(solo["diferencia_pasos"].toInt(), 0);
}

TEST_F(Resultados, TextoEnColumnasAlineadas) {
    const QString ruta = escribe(QStringLiteral("a.txt"), kCarrera);
    ASSERT_EQ(ejecuta({ruta, ruta}, zul::FormatoResultados::Texto), 0);
    const std::string tabla =
        "Pos  Jugador  Nombre  Vueltas  Paso  Mejor vuelta  Última vuelta  Diferencia\n"
        "  1        0  ana           1     1             1              1  Líder\n"
        "  2        1  be,to         1     2             2              2  +1 paso\n"
        "  3        2  \"cu\"          0     0             -              -  +1 vuelta\n";
    const std::string titulo =
        "Resultados de " + ruta.toStdString() + " (paso 3, el último completo)\n";
    EXPECT_EQ(salida.str(), titulo + tabla + "\n" + titulo + tabla);
}

// The control characters left raw in `texto` (UTF-8), other than those in
// `permitidos`: C0, DEL and C1, all of which a terminal may act on.
std::string controlesEnCrudo(const std::string& texto, const std::string& permitidos) {
    std::string hallados;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const auto c = static_cast<unsigned char>(texto[i]);
        const auto siguiente = i + 1 < texto.size() ? static_cast<unsigned char>(texto[i + 1]) : 0u;
        const bool control =
            c < 0x20 || c == 0x7f || (c == 0xc2 && siguiente >= 0x80 && siguiente < 0xa0);
        if (control && permitidos.find(static_cast<char>(c)) == std::string::npos) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02x ", c == 0xc2 ? siguiente : c);
            hallados += hex;
        }
    }
    return hallados;
}

TEST(CampoCsv, ControlesEscritosComoEnElTexto) {
    const struct {
        const char* valor;
        const char* campo;
    } filas[] = {
        {"ro\x1b[31mjo", "\"ro\\x1b[31mjo\""},
        {"ta\tb", "\"ta\\tb\""},
        {"del\x7f", "\"del\\x7f\""},
        {"c\xc2\x9bsi", "\"c\\x9bsi\""},
        // Line breaks stay, as RFC 4180 allows inside quotes.
        {"dos\nlí\x07neas\r", "\"dos\nlí\\x07neas\r\""},
        {"di\"jo\x1b", "\"di\"\"jo\\x1b\""},
        {"a\\x1b", "a\\x1b"},
    };
    for (const auto& f : filas) {
        EXPECT_EQ(zul::campoCsv(QString::fromUtf8(f.valor)).toStdString(), f.campo) << f.valor;
    }
}

// Names and paths with control characters, in every format: nothing reaches
// the terminal raw, the text and CSV show them as \xHH, and JSON keeps them
// exact in its escapes.
TEST_F(Resultados, ControlesNuncaEnCrudo) {
    // ESC, BEL, DEL and the C1 CSI (in UTF-8) in the names; an escape and a
    // line break in the path.
    const QString ruta = escribe(QString::fromUtf8("ca\x1b[2J\nrrera.txt"),
                                 "3 ro\x1b[31mjo be\x07l\x7f c\xc2\x9bsi\n"
                                 "p 0 0 0 0 p 0 0 0 0 p 0 0 0 0\n"
                                 "p 0 0 0 1 p 0 0 0 0 p 0 0 0 0\n"
                                 "p 0 0 0 1 p 0 0 0 1 p 0 0 0 0\n"
                                 "p 0 0 0 1 p 0 0 0 1 p 0 0 0 0\n");
    const QString falta = QDir(carpeta.path()).filePath(QString::fromUtf8("no\x1b]0;x\x07.txt"));
    const std::string carpetaVista = carpeta.path().toStdString();
    const std::string rutaVista = carpetaVista + "/ca\\x1b[2J\\nrrera.txt";
    const std::string csvRuta = "\"" + carpetaVista + "/ca\\x1b[2J\nrrera.txt\"";
    const struct {
        zul::FormatoResultados formato;
        const char* permitidos;
        std::string salida; // empty: checked below
    } filas[] = {
        {zul::FormatoResultados::Texto, "\n",
         "Resultados de " + rutaVista +
             " (paso 3, el último completo)\n"
             "Pos  Jugador  Nombre        Vueltas  Paso  Mejor vuelta  Última vuelta  Diferencia\n"
             "  1        0  ro\\x1b[31mjo        1     1             1              1  Líder\n"
             "  2        1  be\\x07l\\x7f         1     2             2              2  +1 paso\n"
             "  3        2  c\\x9bsi             0     0             -              -  +1 "
             "vuelta\n"},
        {zul::FormatoResultados::Csv, "\r\n",
         std::string(zul::kCabeceraCsv) + "\r\n" + csvRuta +
             ",1,0,\"ro\\x1b[31mjo\",1,1,1,1,0,0\r\n" + csvRuta +
             ",2,1,\"be\\x07l\\x7f\",1,2,2,2,0,1\r\n" + csvRuta + ",3,2,\"c\\x9bsi\",0,0,,,1,\r\n"},
        {zul::FormatoResultados::Json, "\n", ""},
    };
    for (const auto& f : filas) {
        EXPECT_EQ(ejecuta({ruta, falta}, f.formato), 1);
        EXPECT_EQ(controlesEnCrudo(salida.str(), f.permitidos), "") << salida.str();
        EXPECT_EQ(controlesEnCrudo(errores.str(), "\n"), "") << errores.str();
        EXPECT_EQ(errores.str(), "visor: " + carpetaVista +
                                     "/no\\x1b]0;x\\x07.txt: No se pudo abrir el archivo: no "
                                     "existe.\n");
        if (!f.salida.empty()) {
            EXPECT_EQ(salida.str(), f.salida);
        }
    }
    // The JSON of the last row: valid, and the same text as the files hold.
    QJsonParseError fallo;
    const QJsonArray lista =
        QJsonDocument::fromJson(QByteArray::fromStdString(salida.str()), &fallo).array();
    ASSERT_EQ(fallo.error, QJsonParseError::NoError) << salida.str();
    ASSERT_EQ(lista.size(), 3);
    const char* const nombres[] = {"ro\x1b[31mjo", "be\x07l\x7f", "c\xc2\x9bsi"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lista[i].toObject()["carrera"].toString(), ruta);
        EXPECT_EQ(lista[i].toObject()["nombre"].toString(), QString::fromUtf8(nombres[i]));
    }
    EXPECT_NE(salida.str().find("\"be\\u0007l\\u007f\""), std::string::npos) << salida.str();
    EXPECT_NE(salida.str().find("\"c\\u009bsi\""), std::string::npos) << salida.str();
}

// A name with the controls that reorder text cannot turn its row around.
TEST_F(Resultados, ControlesBidiEscapados) {
    const QString ruta = escribe("bidi.txt", "2 \xe2\x80\xae"
                                             "atsil \xe2\x81\xa6"
                                             "b\xe2\x80\x8f\np 0 0 0 0 p 0 0 0 0\n");
    EXPECT_EQ(ejecuta({ruta}, zul::FormatoResultados::Texto), 0);
    const std::string texto = salida.str();
    for (const char* control : {"\xe2\x80\xae", "\xe2\x81\xa6", "\xe2\x80\x8f"}) {
        EXPECT_EQ(texto.find(control), std::string::npos) << texto;
    }
    EXPECT_NE(texto.find("\\u202eatsil"), std::string::npos) << texto;
    EXPECT_NE(texto.find("\\u2066b\\u200f"), std::string::npos) << texto;
}

// Each race that cannot be printed is named on the error stream and makes the
// status 1; the others are printed all the same.
TEST_F(Resultados, UnArchivoMaloNoDetieneLosDemas) {
    const QString buena = escribe(QStringLiteral("buena.txt"), kCarrera);
    const struct {
        const char* caso;
        QString ruta;
        const char* mensaje;
    } malas[] = {
        {"no existe", QDir(carpeta.path()).filePath(QStringLiteral("no-existe.txt")),
         "No se pudo abrir el archivo"},
        {"carpeta", carpeta.path(), "es una carpeta"},
        {"sin jugadores", escribe(QStringLiteral("mala.txt"), "hola\n"),
         "no empieza con el número de jugadores"},
        {"sin pasos", escribe(QStringLiteral("vacia.txt"), "2 a b\np 0 0 0 0\n"),
         "ningún paso completo"},
    };
    for (const auto& mala : malas) {
        for (const zul::FormatoResultados formato :
             {zul::FormatoResultados::Texto, zul::FormatoResultados::Csv,
              zul::FormatoResultados::Json}) {
            EXPECT_EQ(ejecuta({mala.ruta, buena}, formato), 1) << mala.caso;
            const std::string mensaje = errores.str();
            EXPECT_NE(mensaje.find("visor: " + mala.ruta.toStdString() + ": "), std::string::npos)
                << mensaje;
            EXPECT_NE(mensaje.find(mala.mensaje), std::string::npos) << mensaje;
            EXPECT_NE(salida.str().find("be,to"), std::string::npos) << mala.caso;
            EXPECT_EQ(salida.str().find(mala.ruta.toStdString() + ","), std::string::npos);
        }
    }
    EXPECT_EQ(ejecuta({}, zul::FormatoResultados::Json), 0);
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(salida.str())).array().size(), 0);
}

} // namespace
