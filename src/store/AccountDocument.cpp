#include "store/AccountDocument.h"

#include "engine/Logging.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString accountsKey = u"totp.accounts"_s;
const QString clearDelayKey = u"totp.clipboardClearDelay"_s;
const QString panelOpacityKey = u"totp.panelOpacity"_s;
const QString hideCodesKey = u"totp.hideCodes"_s;
const QString groupsKey = u"totp.groups"_s;
// The id of the deletion awaiting undo, so that a start after a crash removes its secret.
const QString pendingDeletionKey = u"totp.pendingDeletion"_s;

} // namespace

AccountDocument::AccountDocument(QSettings &settings, Clock clock) : m_settings(settings), m_clock(std::move(clock)) {}

AccountDocument::Contents AccountDocument::load()
{
    Contents contents;
    if (m_settings.contains(accountsKey)) {
        const QByteArray document = m_settings.value(accountsKey).toByteArray();
        contents.accounts = TokenAccount::decodeList(document);
        if (!contents.accounts) {
            qCWarning(lcStore) << "the stored account list is unreadable; it is kept aside before the next save";
            m_unreadable = document;
        }
    }
    if (m_settings.contains(clearDelayKey))
        contents.clipboardClearDelay = m_settings.value(clearDelayKey).toLongLong();
    if (m_settings.contains(panelOpacityKey))
        contents.panelOpacity = m_settings.value(panelOpacityKey).toDouble();
    if (m_settings.contains(hideCodesKey))
        contents.hideCodes = m_settings.value(hideCodesKey).toBool();
    contents.groups =
        TokenAccount::decodeGroups(m_settings.value(groupsKey).toByteArray()).value_or(QList<AccountGroup>());
    return contents;
}

std::expected<void, StoreError> AccountDocument::saveList(const QList<TokenAccount> &accounts)
{
    // Never replace a list we could not read without a copy of it.
    if (m_unreadable && !setAsideUnreadable())
        return std::unexpected(
            ListSaveError{QCoreApplication::translate("AccountDocument", "无法备份无法读取的旧列表")});
    m_unreadable.reset();
    m_settings.setValue(accountsKey, TokenAccount::encodeList(accounts));
    m_settings.sync();
    if (const auto failed = ListSaveError::of(m_settings, accountsKey))
        return std::unexpected(*failed);
    return {};
}

// An unreadable list still stored is left for the next save to set aside.
void AccountDocument::restoreList(const QList<TokenAccount> &accounts)
{
    if (!m_unreadable)
        m_settings.setValue(accountsKey, TokenAccount::encodeList(accounts));
}

void AccountDocument::saveGroups(const QList<AccountGroup> &groups)
{
    m_settings.setValue(groupsKey, TokenAccount::encodeGroups(groups));
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

void AccountDocument::saveSettings(qint64 clipboardClearDelay, double panelOpacity, bool hideCodes)
{
    m_settings.setValue(clearDelayKey, clipboardClearDelay);
    m_settings.setValue(panelOpacityKey, panelOpacity);
    m_settings.setValue(hideCodesKey, hideCodes);
    m_settings.sync();
}

std::optional<QUuid> AccountDocument::recordedDeletion() const
{
    if (!m_settings.contains(pendingDeletionKey) || !listReadable())
        return std::nullopt;
    return QUuid::fromString(m_settings.value(pendingDeletionKey).toString());
}

void AccountDocument::recordDeletion(const QUuid &id)
{
    m_settings.setValue(pendingDeletionKey, id.toString(QUuid::WithoutBraces));
}

void AccountDocument::forgetDeletion(const QUuid &id)
{
    if (QUuid::fromString(m_settings.value(pendingDeletionKey).toString()) != id)
        return; // a later deletion is recorded now
    m_settings.remove(pendingDeletionKey);
    m_settings.sync();
}

void AccountDocument::dropDeletion()
{
    m_settings.remove(pendingDeletionKey);
}
