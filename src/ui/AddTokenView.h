#pragma once

#include "transfer/MigrationBatch.h"
#include "transfer/TransferError.h"
#include "ui/SheetDialog.h"

#include <expected>
#include <optional>

class CodeSettingsFields;
class LinkIntake;
class QCheckBox;
class QLineEdit;
class TokenStore;
class UnlockThenAdd;
struct ImportSummary;

// The sheet that adds an account from a pasted otpauth link or typed fields, or every
// account of a phone-export link. Links also come from QR codes in image files and on
// the screen. A new one is made for each presentation, so it always starts empty.
class AddTokenView : public SheetDialog
{
    Q_OBJECT

public:
    static constexpr int sheetWidth = 410;

    explicit AddTokenView(TokenStore &store, QWidget *parent = nullptr);

    QLineEdit *linkField() const { return m_link; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *issuerField() const { return m_issuer; }
    QLineEdit *secretField() const { return m_secret; }
    // Shows the link and the secret in clear while checked.
    QCheckBox *revealBox() const { return m_reveal; }
    QPushButton *imageButton() const { return m_imageButton; }
    QPushButton *screenButton() const { return m_screenButton; }
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    QLabel *errorLine() const { return m_errorLine; }
    QLabel *batchList() const { return m_batchList; }
    QLabel *noticeLine() const { return m_notice; }
    QLabel *settingsLine() const { return m_settingsLine; }
    CodeSettingsFields *codeSettings() const { return m_codeSettings; }

    // A link read from a QR code goes into the link field, as if pasted; a failed read
    // shows why.
    void showScanned(const std::expected<QString, TransferError> &link);
    void scanFile(const QString &path);

private:
    void updatePrimaryButton();
    void setSaving(bool saving);
    void chooseImageFile();
    void add();
    void addBatch();
    void batchAdded(const MigrationBatch &batch, const ImportSummary &summary);
    void reportBatch(const MigrationBatch &batch, const ImportSummary &summary, const QStringList &refused);
    void showError(const QString &message);
    void offerUnlock(bool offer);
    void hideError();

    TokenStore &m_store;
    QLineEdit *m_link;
    QPushButton *m_imageButton;
    QPushButton *m_screenButton;
    QLabel *m_batchList;
    QLineEdit *m_name;
    QLineEdit *m_issuer;
    QLineEdit *m_secret;
    QCheckBox *m_reveal;
    CodeSettingsFields *m_codeSettings;
    QLabel *m_settingsLine;
    QLabel *m_errorLine;
    QLabel *m_notice;
    LinkIntake *m_intake;
    UnlockThenAdd *m_unlock;
    std::optional<QString> m_errorMessage;
    bool m_saving = false; // the keychain is storing what 添加 sent; 添加 waits
    bool m_unlockFirst = false; // the locked keyring refused the add: 添加 reads 解锁并添加
};
