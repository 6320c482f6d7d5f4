#pragma once

#include "engine/ImportedToken.h"

#include <QObject>

#include <memory>

class KeyDeriver;
class TokenStore;
class TransferLayer;
class TransferMessages;

// Exports every account whose secret can be read: into an encrypted backup in the Aegis vault
// format, under a password the person chooses, or, after a warning, into a plain list of
// otpauth links; then says how many went out and how many were left out.
class ExportFlow : public QObject
{
    Q_OBJECT

public:
    // `keyProgram` derives the vault's key (see KeyDeriver).
    ExportFlow(TokenStore &store, const TransferMessages &messages, const QString &keyProgram,
               QObject *parent = nullptr);
    ~ExportFlow() override;

    void exportBackup();

private:
    void exportVault(const TransferLayer &layer, const QList<ImportedToken> &tokens, const QString &path);
    void save(const QString &path, const QByteArray &bytes, qsizetype count);

    TokenStore &m_store;
    const TransferMessages &m_messages;
    const QString &m_keyProgram;
    // Made on the first vault.
    std::unique_ptr<KeyDeriver> m_deriver;
};
