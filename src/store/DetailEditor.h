#pragma once

#include "engine/IconPack.h"
#include "engine/ImportedToken.h"
#include "store/AccountList.h"
#include "store/IconFolder.h"

#include <QObject>

#include <functional>

// The edits of what a person keeps with an account besides its codes: the note, the favourite
// flag and the icon. Icon files are read and written off the main thread; the list is changed
// and saved on it, undone with the reason when it cannot be saved. Main thread only.
class DetailEditor : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void(std::expected<void, StoreError>)>;

    DetailEditor(AccountList &list, IconFolder icons, QObject *parent = nullptr);

    const IconFolder &icons() const { return m_icons; }
    std::optional<QString> iconPath(const TokenAccount &account) const;

    std::expected<void, StoreError> setNote(QUuid id, const QString &note);
    std::expected<void, StoreError> setFavourite(QUuid id, bool favourite);
    std::expected<void, StoreError> toggleFavourite(QUuid id);
    // Sets the icon from a picture file, once it is read, checked and kept in the icon folder.
    void setIcon(QUuid id, const QString &filePath, Done done);
    std::expected<void, StoreError> removeIcon(QUuid id);
    // Every account without an icon whose issuer the pack has an icon for gets it; `done`
    // learns how many did.
    void applyIconPack(const IconPack &pack, std::function<void(qsizetype)> done);

    // The tokens with each icon saved to the folder (those refused dropped), for `done`: at
    // once when none has an icon, otherwise once the files are written.
    void saveIcons(const QList<ImportedToken> &tokens, std::function<void(QList<ImportedToken>)> done);

private:
    AccountList &m_list;
    IconFolder m_icons;
};
