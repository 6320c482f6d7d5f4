#pragma once

#include "transfer/MigrationBatch.h"

#include <QObject>

#include <optional>

class CodeSettingsFields;
class QLabel;
class QLineEdit;

// Reads the add sheet's link field, on every change, into the sheet: an otpauth link fills the
// name, issuer, secret and code settings, replacing what they held; a phone export's link
// becomes the batch that 添加 adds, listed under the field. Text that is no link at all stays
// quiet; a link's refusal lasts only while the field holds that link, as a link is typed
// letter by letter.
class LinkIntake : public QObject
{
    Q_OBJECT

public:
    // The sheet's fields it reads and fills.
    struct Fields
    {
        QLineEdit *link;
        QLineEdit *name;
        QLineEdit *issuer;
        QLineEdit *secret;
        CodeSettingsFields *codeSettings;
        QLabel *batchList;
    };

    // "label：reason", as the sheet names an account it leaves out.
    static QString refusalLine(const ImportBatch::Refusal &refusal);

    LinkIntake(const Fields &fields, QObject *parent);

    // The accounts of the phone-export link in the link field.
    const std::optional<MigrationBatch> &batch() const { return m_batch; }
    // The batch, handed over to be added; its list stays shown until the field changes.
    MigrationBatch takeBatch() { return *std::exchange(m_batch, std::nullopt); }

Q_SIGNALS:
    // The batch came or went.
    void batchChanged();
    // The link in the field was refused, for this reason.
    void refused(const QString &reason);
    // The field no longer holds the link refused for this reason (empty when none was).
    void refusalLifted(const QString &reason);

private:
    void read(const QString &text);
    void showBatch(std::optional<MigrationBatch> batch);

    Fields m_fields;
    std::optional<MigrationBatch> m_batch;
    // The reason the link in the field was refused, else empty.
    QString m_linkRefusal;
};
