#pragma once

#include "ui/SheetDialog.h"

#include <QDateTime>
#include <QList>

class QListWidget;

// "从备份恢复…": the automatic backups in the folder, newest first, each with its computer,
// date and time and number of accounts, or that it needs its password, or that it cannot be
// read. It says it is reading until the app hands it the list. It only asks: the app
// imports the chosen one.
class BackupRestoreSheet : public SheetDialog
{
    Q_OBJECT

public:
    struct Item
    {
        enum class State { opened, needsPassword, unreadable };
        QString computer;
        bool thisComputer = false;
        QDateTime time;
        State state = State::unreadable;
        qsizetype accounts = 0;
    };

    explicit BackupRestoreSheet(QWidget *parent = nullptr);

    void setItems(const QList<Item> &items);
    // Said in place of the list: backups are off, or cannot be read.
    void setMessage(const QString &text);
    QListWidget *list() const { return m_list; }
    static QString describe(const Item &item);

Q_SIGNALS:
    // The index of the chosen item in the list given.
    void chosen(int index);

private:
    static int preferredRow(const QList<Item> &items);
    void fitContent();
    void choose();

    QLabel *m_status;
    QListWidget *m_list;
};
