#include "ui/TransferLoader.h"

#include "engine/Logging.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPluginLoader>

using namespace Qt::Literals::StringLiterals;

namespace {

QString pluginPath()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    QStringList folders{executableFolder};
    folders << QCoreApplication::libraryPaths() << executableFolder + u"/" CORVANE_PLUGIN_DIR ""_s;
    for (const QString &folder : std::as_const(folders)) {
        const QString path = folder + u'/' + QLatin1StringView(TransferLoader::fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QLatin1StringView(TransferLoader::fileName);
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
    return std::unexpected(TransferError(TransferError::Kind::componentMissing, loader.errorString()));
}
