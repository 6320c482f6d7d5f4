#include "ui/UnlockThenAdd.h"

#include "store/TokenStore.h"

UnlockThenAdd::UnlockThenAdd(TokenStore &store, QObject *parent) : QObject(parent), m_store(store)
{
    connect(&m_store, &TokenStore::keychainStatusChanged, this, &UnlockThenAdd::addIfOpen);
}

void UnlockThenAdd::unlockAndAdd()
{
    m_waiting = true;
    if (m_store.keychainStatus() != KeychainStore::Status::Available)
        m_store.unlockKeychain();
    addIfOpen();
}

void UnlockThenAdd::addIfOpen()
{
    if (!m_waiting || m_store.keychainStatus() != KeychainStore::Status::Available)
        return;
    m_waiting = false;
    Q_EMIT addRequested();
}
