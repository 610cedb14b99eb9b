#pragma once

#include <QString>

namespace zul {

// Where an installed file of the viewer's own (such as an arrow picture)
// lives, beside the program: <prefix>/share/zul/<nombre> for
// <prefix>/bin/visor. Empty before the application object exists.
QString rutaDatosInstalados(const QString& nombre);

} // namespace zul
