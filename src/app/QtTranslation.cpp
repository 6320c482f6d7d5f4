#include "app/QtTranslation.h"

#include "engine/Logging.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

namespace {

// Qt's texts where its catalogue of this release says nothing (the file dialogs' type column)
// or words it differently from the rest of the app (撤销, as the undo bar says). Installed
// after Qt's catalogue, so asked first.
class QtTextOverrides : public QTranslator
{
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        static const QHash<std::pair<QByteArrayView, QByteArrayView>, QString> texts{
            {{"QAbstractFileIconProvider", "Folder"}, u"文件夹"_s},
            {{"QAbstractFileIconProvider", "Drive"}, u"驱动器"_s},
            {{"QLineEdit", "&Undo"}, u"撤销(&U)"_s},
            {{"QWidgetTextControl", "&Undo"}, u"撤销(&U)"_s},
        };
        return texts.value({QByteArrayView(context), QByteArrayView(sourceText)});
    }
};

bool installCatalogue(QCoreApplication &app, const QString &name, const QStringList &folders)
{
    auto *translator = new QTranslator(&app);
    for (const QString &folder : folders) {
        if (translator->load(name, folder))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

} // namespace

QtTranslation::Language QtTranslation::languageFor(const QStringList &uiLanguages)
{
    for (const QString &tag : uiLanguages) {
        const QString language = tag.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
        if (language == u"zh"_s)
            return Language::chinese;
        if (language == u"en"_s)
            return Language::english;
    }
    return Language::english;
}

QStringList QtTranslation::catalogueFolders()
{
    const QString binary = QCoreApplication::applicationDirPath();
    return {binary, binary + u"/../" CORVANE_DATA_DIR "/translations"_s};
}

bool QtTranslation::install(QCoreApplication &app, Language language, const QStringList &folders)
{
    if (language == Language::english) {
        if (installCatalogue(app, u"corvane_en"_s, folders))
            return true;
        qCWarning(lcApp) << "Corvane's English texts are not installed";
        return false;
    }
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    const bool installed =
        installCatalogue(app, u"qtbase_zh_CN"_s, {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
    QCoreApplication::installTranslator(new QtTextOverrides(&app));
    if (!installed)
        qCWarning(lcApp) << "Qt's Chinese texts are not installed (qt6-translations-l10n)";
    return installed;
}
