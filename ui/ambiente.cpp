#include "ui/ambiente.hpp"

#include <QByteArray>
#include <QtGlobal>

namespace ui {

void preparaAmbienteQt() {
    if (!qEnvironmentVariableIsSet("QT_MAX_CACHED_GLYPH_SIZE")) {
        qputenv("QT_MAX_CACHED_GLYPH_SIZE", QByteArrayLiteral("256"));
    }
}

} // namespace ui
