#pragma once

#include "ui/RowAction.h"

#include <QMenu>

#include <optional>

// A row's context menu, built in one place: its items in order, each asking for a row
// action. It deletes itself when closed.
class TokenRowMenu : public QMenu
{
    Q_OBJECT

public:
    // The moves are disabled at the ends of the whole list. `typingNote` offers typing into
    // the previous window: empty when it works, else why it copies instead.
    TokenRowMenu(bool first, bool last, const std::optional<QString> &typingNote, QWidget *parent);

Q_SIGNALS:
    void chosen(RowAction action);

private:
    QAction *addItem(const QString &text, RowAction action);
};
