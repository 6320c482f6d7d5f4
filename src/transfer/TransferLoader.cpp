#include "transfer/TransferLoader.h"

#include "engine/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

using namespace Qt::Literals::StringLiterals;

namespace {

// Beside the executable in a build tree, else in the installed folder: by its absolute path
// only, never from a search path such as QT_PLUGIN_PATH, where a planted library would run.
QString pluginPath()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString name = QLatin1StringView(TransferLoader::fileName);
    const QString beside = executableFolder + u'/' + name;
    if (QFileInfo(beside).isFile())
        return beside;
    return QDir::cleanPath(executableFolder + u"/" CORVANE_PLUGIN_DIR "/"_s + name);
}

} // namespace

std::expected<const TransferLayer *, TransferError> TransferLoader::layer()
{
    static const TransferLayer *loaded = nullptr;
    if (loaded)
        return loaded;
    QPluginLoader loader(pluginPath());
    loaded = qobject_cast<TransferLayer *>(loader.instance());
    if (loaded)
        return loaded;
    qCWarning(lcUi) << "cannot open the transfer plugin:" << loader.errorString();
    // The loader's own words are English: the person is told which file is missing or broken.
    return std::unexpected(TransferError(TransferError::Kind::componentMissing, loader.fileName()));
}
