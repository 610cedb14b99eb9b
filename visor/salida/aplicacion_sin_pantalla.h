#pragma once

#include <QGuiApplication>

#include <memory>

namespace zul {

// The application object of a headless output: Qt's offscreen platform,
// whatever the environment says, so no display is needed, and only the
// toolkit's serious messages on standard error, which is for the program's
// own. Create it once, before any picture is drawn.
class AplicacionSinPantalla {
public:
    explicit AplicacionSinPantalla(char* programa);
    ~AplicacionSinPantalla();

private:
    int argc = 1;
    char* argv[2];
    std::unique_ptr<QGuiApplication> aplicacion;
};

} // namespace zul
