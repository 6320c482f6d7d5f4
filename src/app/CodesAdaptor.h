#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QStringList>

class CodesOnBus;

// org.corvane.Corvane.Codes, for `corvane --code` and `--list`: the running instance answers
// them, so that a counter advances once and is saved before its code is given. The code goes
// through the pipe the caller hands over, never in a message a bus monitor could read.
class CodesAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.corvane.Corvane.Codes")

public:
    static inline const QString unavailableError = QStringLiteral("org.corvane.Corvane.Error.Unavailable");

    CodesAdaptor(QObject *object, CodesOnBus &codes);

public Q_SLOTS:
    // Every account as issuer, name and type ("totp", "hotp" or "steam").
    QList<QStringList> List();
    // The issuer and name of each account the query names. When it names one, its code is
    // written to `code` first; when no code can be given, the call fails with the reason.
    QList<QStringList> Code(const QString &query, const QDBusUnixFileDescriptor &code, const QDBusMessage &call);

private:
    CodesOnBus &m_codes;
};
