#include "app/SingleInstance.h"

#include "engine/Logging.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int callTimeoutMs = 2000;
const QString applicationInterface = u"org.freedesktop.Application"_s;

} // namespace

SingleInstance::SingleInstance(const QString &name, const QDBusConnection &bus, QObject *parent)
    : QObject(parent),
      m_name(name),
      m_bus(bus)
{}

QString SingleInstance::objectPath(const QString &name)
{
    return u'/' + QString(name).replace(u'.', u'/').replace(u'-', u'_');
}

bool SingleInstance::claim(const QStringList &uris, const QString &action)
{
    if (!m_bus.isConnected())
        return claimLockFile();
    if (claimBusName())
        return true;
    m_notified = notifyRunning(uris, action);
    return false;
}

bool SingleInstance::claimBusName()
{
    QDBusConnectionInterface *bus = m_bus.interface();
    if (!bus)
        return false;
    const auto reply = bus->registerService(m_name, QDBusConnectionInterface::DontQueueService,
                                            QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered)
        return false;
    if (!m_bus.registerObject(objectPath(m_name), this, QDBusConnection::ExportScriptableSlots))
        qCWarning(lcApp) << "cannot answer on the session bus at" << objectPath(m_name);
    return true;
}

void SingleInstance::release()
{
    if (m_lock) {
        m_lock.reset(); // unlocks
        return;
    }
    if (!m_bus.isConnected() || !m_bus.interface())
        return;
    m_bus.unregisterObject(objectPath(m_name));
    m_bus.interface()->unregisterService(m_name);
}

// Where no session bus runs: a lock in the runtime folder.
bool SingleInstance::claimLockFile()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    m_lock = std::make_unique<QLockFile>(QDir(dir).filePath(m_name + u".lock"_s));
    m_lock->setStaleLockTime(0); // only a lock whose process is gone is stale
    return m_lock->tryLock(100);
}

bool SingleInstance::notifyRunning(const QStringList &uris, const QString &action)
{
    const auto method = [this](const QString &name) {
        return QDBusMessage::createMethodCall(m_name, objectPath(m_name), applicationInterface, name);
    };
    QDBusMessage call;
    if (!uris.isEmpty())
        call = method(u"Open"_s) << uris << QVariantMap();
    else if (!action.isEmpty())
        call = method(u"ActivateAction"_s) << action << QVariantList() << QVariantMap();
    else
        call = method(u"Activate"_s) << QVariantMap();
    // Events keep flowing while waiting, so an instance in this very process can answer.
    const QDBusMessage reply = m_bus.call(call, QDBus::BlockWithGui, callTimeoutMs);
    if (reply.errorName() == QDBusError::errorString(QDBusError::InvalidArgs)) {
        m_refusal = reply.errorMessage();
        return true;
    }
    if (reply.type() == QDBusMessage::ErrorMessage)
        qCWarning(lcApp) << "the running instance did not answer:" << reply.errorName();
    return reply.type() == QDBusMessage::ReplyMessage;
}

void SingleInstance::Activate(const QVariantMap &)
{
    Q_EMIT showRequested();
}

// Only regular files are taken, judged without opening them: a FIFO would block its reader
// until some other program wrote to it. Whoever asked for the others hears so at once.
void SingleInstance::Open(const QStringList &uris, const QVariantMap &)
{
    QStringList files;
    QStringList refused;
    for (const QString &uri : uris) {
        const QUrl url(uri);
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        if (QFileInfo(path).isFile())
            files << path;
        else
            refused << (path.isEmpty() ? uri : path);
    }
    if (!refused.isEmpty() && calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs, tr("只能导入普通文件：%1").arg(refused.join(tr("、"))));
    if (!files.isEmpty())
        Q_EMIT openRequested(files);
}

void SingleInstance::ActivateAction(const QString &name, const QVariantList &, const QVariantMap &)
{
    if (actions.contains(name))
        Q_EMIT actionRequested(name);
    else
        qCInfo(lcApp) << "unknown action asked over the bus:" << name;
}
