#include "store/KeychainCalls.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>

KeychainCalls::KeychainCalls(KeychainStore &keychain, QObject *parent) : QObject(parent), m_keychain(keychain) {}

template <typename Answer> std::function<void(Answer)> KeychainCalls::counted(std::function<void(Answer)> done)
{
    ++m_underWay;
    return [self = QPointer(this), done = std::move(done)](Answer answer) {
        if (!self)
            return;
        --self->m_underWay;
        // The answer may start the next call; the wait ends only when none follows.
        done(std::move(answer));
        if (self && self->m_waiting && !self->busy())
            self->m_waiting->quit();
    };
}

void KeychainCalls::save(const QString &secret, const QUuid &id, std::function<void(KeychainStore::SaveResult)> done)
{
    m_keychain.save(secret, id, counted(std::move(done)));
}

void KeychainCalls::remove(const QUuid &id, std::function<void(bool removed)> done)
{
    m_keychain.remove(id, counted(std::move(done)));
}

void KeychainCalls::read(const QList<QUuid> &ids, std::function<void(KeychainStore::ReadResult)> done)
{
    m_keychain.read(ids, counted(std::move(done)));
}

void KeychainCalls::await(std::chrono::milliseconds bound)
{
    if (!busy())
        return;
    QEventLoop loop;
    m_waiting = &loop;
    QTimer::singleShot(bound, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    m_waiting = nullptr;
}
