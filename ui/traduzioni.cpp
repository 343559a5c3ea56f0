#include "ui/traduzioni.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

void caricaTraduzioniItaliane(QCoreApplication& app) {
    auto* traduttore = new QTranslator(&app);
    if (traduttore->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(traduttore);
    }
}

} // namespace ui
