#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <memory>

// Keeps one Corvane per user: two processes would overwrite each other's account list.
// The first holds a lock file and listens on a local socket; a later one asks it to show
// its panel and leaves.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // `name` tells instances apart (the tests use their own).
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);

    // True when this process is the one to run. Otherwise the running one has been asked
    // to show its panel (or could not be reached) and this one should exit.
    bool claim();
    // Whether the running instance took the request to show itself.
    bool notifiedRunning() const { return m_notified; }

Q_SIGNALS:
    // Another launch asked this instance to show its panel.
    void showRequested();

private:
    bool notifyRunning();

    QString m_name;
    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
    bool m_notified = false;
};
