#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

// Hears of files that come, go or change in one folder (not below it). While the folder is
// not there, the nearest folder above it that is stands in, to learn when it comes back.
class FolderWatch : public QObject
{
    Q_OBJECT

public:
    explicit FolderWatch(QObject *parent = nullptr);

    // Replaces the folder watched; an empty one stops the watch.
    void watch(const QString &folder);

Q_SIGNALS:
    void changed();

private:
    QFileSystemWatcher m_watcher;
    QString m_folder;
};
