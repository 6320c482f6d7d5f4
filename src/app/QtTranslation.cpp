#include "app/QtTranslation.h"

#include "engine/Logging.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

namespace {

// The file dialogs' type column, which Qt's catalogue of this release leaves out.
class FileTypeTexts : public QTranslator
{
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        if (qstrcmp(sourceText, "Folder") == 0)
            return u"文件夹"_s;
        if (qstrcmp(sourceText, "Drive") == 0)
            return u"驱动器"_s;
        return {};
    }
};

} // namespace

bool QtTranslation::install(QCoreApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QCoreApplication::installTranslator(new FileTypeTexts(&app));
    auto *translator = new QTranslator(&app);
    if (!translator->load(u"qtbase_zh_CN"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qCWarning(lcApp) << "Qt's Chinese texts are not installed (qt6-translations-l10n)";
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
