#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int connectTimeoutMs = 2000;
const QByteArray showRequest = "show\n";

} // namespace

SingleInstance::SingleInstance(const QString &name, QObject *parent) : QObject(parent), m_name(name)
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(showRequest))
                    Q_EMIT showRequested();
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool SingleInstance::claim()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // The socket lives beside the lock, so both belong to the same user session.
    m_socketPath = QDir(dir).filePath(m_name + u".socket"_s);
    m_lock = std::make_unique<QLockFile>(QDir(dir).filePath(m_name + u".lock"_s));
    m_lock->setStaleLockTime(0); // only a lock whose process is gone is stale
    if (!m_lock->tryLock(100)) {
        m_notified = notifyRunning();
        return false;
    }
    // A socket left by a crashed instance would make listen() fail.
    QLocalServer::removeServer(m_socketPath);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(m_socketPath);
    return true;
}

bool SingleInstance::notifyRunning()
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    socket.write(showRequest);
    return socket.waitForBytesWritten(connectTimeoutMs);
}
