#include "backup/FolderWatch.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString nearestExisting(QString path)
{
    while (!QFileInfo(path).isDir() && QFileInfo(path).dir().path() != path)
        path = QFileInfo(path).dir().path();
    return path;
}

} // namespace

FolderWatch::FolderWatch(QObject *parent) : QObject(parent)
{
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        watch(m_folder); // the folder may have come or gone
        Q_EMIT changed();
    });
}

void FolderWatch::watch(const QString &folder)
{
    m_folder = folder;
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    if (!folder.isEmpty())
        m_watcher.addPath(nearestExisting(folder));
}
