#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

class CodesOnBus;

// org.gnome.Shell.SearchProvider2: the Shell's overview finds accounts as one types. A
// result's name is the issuer and its description "name · code", without the code while
// none may be shown. Activating one copies its code through the panel's clipboard path; the
// Shell is never handed the code, so its copy could not outlive the clear delay.
class SearchProviderAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell.SearchProvider2")

public:
    SearchProviderAdaptor(QObject *object, CodesOnBus &codes);

public Q_SLOTS:
    QStringList GetInitialResultSet(const QStringList &terms);
    QStringList GetSubsearchResultSet(const QStringList &previousResults, const QStringList &terms);
    QList<QVariantMap> GetResultMetas(const QStringList &identifiers, const QDBusMessage &call);
    void ActivateResult(const QString &identifier, const QStringList &terms, uint timestamp);
    void LaunchSearch(const QStringList &terms, uint timestamp);

private:
    CodesOnBus &m_codes;
};
