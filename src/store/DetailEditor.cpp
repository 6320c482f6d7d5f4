#include "store/DetailEditor.h"

#include "store/IconCheck.h"
#include "store/OffThread.h"

#include <QFile>
#include <QHash>

#include <algorithm>

DetailEditor::DetailEditor(AccountList &list, IconFolder icons, QObject *parent)
    : QObject(parent),
      m_list(list),
      m_icons(std::move(icons))
{}

std::optional<QString> DetailEditor::iconPath(const TokenAccount &account) const
{
    if (!account.icon)
        return std::nullopt;
    return m_icons.filePath(*account.icon);
}

std::expected<void, StoreError> DetailEditor::setNote(QUuid id, const QString &note)
{
    return m_list.edit(
        id, [note = note.trimmed()](TokenAccount &account) { account.note = note; }, tr("备注没有修改。"));
}

std::expected<void, StoreError> DetailEditor::setFavourite(QUuid id, bool favourite)
{
    return m_list.edit(
        id, [favourite](TokenAccount &account) { account.favourite = favourite; }, tr("收藏没有改变。"));
}

std::expected<void, StoreError> DetailEditor::toggleFavourite(QUuid id)
{
    return m_list.edit(
        id, [](TokenAccount &account) { account.favourite = !account.favourite; }, tr("收藏没有改变。"));
}

void DetailEditor::setIcon(QUuid id, const QString &filePath, Done done)
{
    OffThread::run(
        this,
        [icons = m_icons, filePath]() -> std::optional<AccountIcon> {
            QFile file(filePath);
            if (!file.open(QIODevice::ReadOnly))
                return std::nullopt;
            return icons.save(file.read(IconCheck::maxBytes + 1));
        },
        [this, id, done = std::move(done)](const std::optional<AccountIcon> &icon) {
            if (!icon)
                return done(std::unexpected(IconError()));
            done(m_list.edit(
                id, [icon](TokenAccount &account) { account.icon = icon; }, tr("图标没有改变。")));
        });
}

std::expected<void, StoreError> DetailEditor::removeIcon(QUuid id)
{
    return m_list.edit(
        id, [](TokenAccount &account) { account.icon.reset(); }, tr("图标没有改变。"));
}

void DetailEditor::applyIconPack(const IconPack &pack, std::function<void(qsizetype)> done)
{
    // Only the icons some account will take are checked and written.
    QList<qsizetype> wanted;
    for (const TokenAccount &account : m_list.accounts()) {
        const auto index = account.icon ? std::nullopt : pack.match(account.issuer);
        if (index && !wanted.contains(*index))
            wanted.append(*index);
    }
    OffThread::run(
        this,
        [icons = m_icons, pack, wanted] {
            QHash<qsizetype, AccountIcon> saved;
            for (const qsizetype index : wanted) {
                if (const auto icon = icons.save(pack.icons[index].bytes))
                    saved.insert(index, *icon);
            }
            return saved;
        },
        [this, pack, done = std::move(done)](const QHash<qsizetype, AccountIcon> &saved) {
            qsizetype given = 0;
            const auto give = [&](TokenAccount &account) {
                const auto index = account.icon ? std::nullopt : pack.match(account.issuer);
                if (!index || !saved.contains(*index))
                    return false;
                account.icon = saved.value(*index);
                ++given;
                return true;
            };
            done(m_list.editEach(give, tr("图标没有改变。")) ? given : 0);
        });
}

void DetailEditor::saveIcons(const QList<ImportedToken> &tokens, std::function<void(QList<ImportedToken>)> done)
{
    if (std::none_of(tokens.cbegin(), tokens.cend(), [](const ImportedToken &token) { return token.icon.has_value(); }))
        return done(tokens);
    OffThread::run(
        this, [icons = m_icons, tokens] { return icons.saved(tokens); }, std::move(done));
}
