#include "store/AccountDocument.h"

#include "engine/Logging.h"
#include "store/SettingsKeys.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

AccountDocument::AccountDocument(QSettings &settings, Clock clock) : m_settings(settings), m_clock(std::move(clock)) {}

std::optional<QList<TokenAccount>> AccountDocument::load()
{
    if (!m_settings.contains(SettingsKeys::accounts))
        return std::nullopt;
    const QByteArray document = m_settings.value(SettingsKeys::accounts).toByteArray();
    auto accounts = TokenAccount::decodeList(document);
    if (!accounts) {
        qCWarning(lcStore) << "the stored account list is unreadable; it is kept aside before the next save";
        m_unreadable = document;
    }
    return accounts;
}

std::expected<void, StoreError> AccountDocument::saveList(const QList<TokenAccount> &accounts)
{
    // Never replace a list we could not read without a copy of it.
    if (m_unreadable && !setAsideUnreadable())
        return std::unexpected(
            ListSaveError{QCoreApplication::translate("AccountDocument", "无法备份无法读取的旧列表")});
    m_unreadable.reset();
    m_settings.setValue(SettingsKeys::accounts, TokenAccount::encodeList(accounts));
    m_settings.sync();
    if (const auto failed = ListSaveError::of(m_settings, SettingsKeys::accounts))
        return std::unexpected(*failed);
    return {};
}

// An unreadable list still stored is left for the next save to set aside.
void AccountDocument::restoreList(const QList<TokenAccount> &accounts)
{
    if (!m_unreadable)
        m_settings.setValue(SettingsKeys::accounts, TokenAccount::encodeList(accounts));
}

QList<AccountGroup> AccountDocument::loadGroups() const
{
    return TokenAccount::decodeGroups(m_settings.value(SettingsKeys::groups).toByteArray())
        .value_or(QList<AccountGroup>());
}

void AccountDocument::saveGroups(const QList<AccountGroup> &groups)
{
    m_settings.setValue(SettingsKeys::groups, TokenAccount::encodeGroups(groups));
    m_settings.sync();
}

bool AccountDocument::listReadable() const
{
    return !m_unreadable && m_settings.status() == QSettings::NoError;
}

// Copies the unreadable stored list beside the settings file, under a name of its own.
bool AccountDocument::setAsideUnreadable()
{
    const QDir dir = QFileInfo(m_settings.fileName()).absoluteDir();
    if (!dir.mkpath(u"."_s))
        return false;
    const QString stamp = QDateTime::fromMSecsSinceEpoch(qint64(m_clock() * 1000)).toString(u"yyyyMMdd-HHmmss"_s);
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const QString suffix = attempt == 1 ? QString() : u"-%1"_s.arg(attempt);
        QFile file(dir.filePath(u"accounts-unreadable-%1%2.json"_s.arg(stamp, suffix)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                continue;
            return false;
        }
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return file.write(*m_unreadable) == m_unreadable->size() && file.flush();
    }
    return false;
}

std::optional<QUuid> AccountDocument::recordedDeletion() const
{
    if (!m_settings.contains(SettingsKeys::pendingDeletion) || !listReadable())
        return std::nullopt;
    return QUuid::fromString(m_settings.value(SettingsKeys::pendingDeletion).toString());
}

void AccountDocument::recordDeletion(const QUuid &id)
{
    m_settings.setValue(SettingsKeys::pendingDeletion, id.toString(QUuid::WithoutBraces));
}

void AccountDocument::forgetDeletion(const QUuid &id)
{
    if (QUuid::fromString(m_settings.value(SettingsKeys::pendingDeletion).toString()) != id)
        return; // a later deletion is recorded now
    m_settings.remove(SettingsKeys::pendingDeletion);
    m_settings.sync();
}

void AccountDocument::dropDeletion()
{
    m_settings.remove(SettingsKeys::pendingDeletion);
}
