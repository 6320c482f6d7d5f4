#include "app/QtTranslation.h"

#include "engine/Logging.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

bool QtTranslation::install(QCoreApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto *translator = new QTranslator(&app);
    if (!translator->load(u"qtbase_zh_CN"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qCWarning(lcApp) << "Qt's Chinese texts are not installed (qt6-translations-l10n)";
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
