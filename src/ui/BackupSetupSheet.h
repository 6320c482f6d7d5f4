#pragma once

#include "backup/BackupPolicy.h"
#include "ui/SheetDialog.h"

#include <QDateTime>

#include <expected>
#include <optional>

class QLineEdit;
class QPushButton;
class QSpinBox;

// "自动备份…": the folder (chosen with the desktop's chooser), a password asked twice and
// how many backups to keep; with backups on it shows the folder, the last backup's time and
// its state, and can turn them off. It only asks: the app sets backups up.
class BackupSetupSheet : public SheetDialog
{
    Q_OBJECT

public:
    struct State
    {
        bool on = false;
        QString folder;
        int keep = BackupPolicy::defaultKeep;
        std::optional<QDateTime> lastBackup = {};
        QString problem = {}; // empty while backups succeed
    };

    explicit BackupSetupSheet(const State &state, QWidget *parent = nullptr);

    QLineEdit *folderField() const { return m_folder; }
    QLineEdit *passwordField() const { return m_password; }
    QLineEdit *repeatField() const { return m_repeat; }
    QSpinBox *keepField() const { return m_keep; }
    QPushButton *turnOffButton() const { return m_turnOff; }
    QLabel *failureLine() const { return m_failure; }

    // How setting up went: the sheet closes, or says why and keeps what was typed to try again.
    void setUpFinished(const std::expected<void, QString> &outcome);

Q_SIGNALS:
    // An empty password keeps the key of backups already on. The sheet waits for
    // setUpFinished.
    void setUpRequested(const QString &folder, const QString &password, int keep);
    void turnOffRequested();

private:
    static QString stateText(const State &state);
    void chooseFolder();
    void updateAcceptable();

    bool m_on;
    QLineEdit *m_folder;
    QLineEdit *m_password;
    QLineEdit *m_repeat;
    QLabel *m_hint;
    QLabel *m_failure;
    bool m_working = false;
    QSpinBox *m_keep;
    QPushButton *m_turnOff = nullptr;
};
