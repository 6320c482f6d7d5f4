#pragma once

#include "engine/Clock.h"
#include "store/AccountDocument.h"
#include "store/KeychainCalls.h"
#include "store/PendingDeletion.h"

#include <QObject>

#include <optional>

// The deletion awaiting undo, for 5 seconds. Its id stays recorded in the settings file until
// the keychain item is gone, so that a start after a crash inside the undo window, or after a
// keychain that could not delete, removes the secret left behind.
class DeletionJournal : public QObject
{
    Q_OBJECT

public:
    DeletionJournal(KeychainCalls &keychain, AccountDocument &document, SingleShot singleShot,
                    QObject *parent = nullptr);

    const std::optional<PendingDeletion> &pending() const { return m_pending; }
    // At start, once the list was read: removes the item of a recorded deletion the list does
    // not name, and drops a record the list contradicts.
    void finishRecorded(const QList<TokenAccount> &accounts);
    // Holds the deletion for the undo window; its record is written with the next save.
    void begin(PendingDeletion deletion);
    // The pending deletion, taken back; its record goes with the next save.
    std::optional<PendingDeletion> undo();
    // Starts removing the pending deletion's secret; its id, or absent when none is pending.
    std::optional<QUuid> finalize();

Q_SIGNALS:
    // The undo window closed without an undo.
    void undoWindowClosed();

private:
    void removeItem(const QUuid &id);

    KeychainCalls &m_keychain;
    AccountDocument &m_document;
    SingleShot m_singleShot;
    std::optional<PendingDeletion> m_pending;
    // Counts deletions, so the undo window of one that was undone or finalised closes nothing.
    quint64 m_serial = 0;
};
