#pragma once

#include <QString>

// Every key of the settings file, in one place: "totp." and a lower-camel-case name. Secrets
// are never among the values.
namespace SettingsKeys {

// The account list, as JSON bytes.
inline const QString accounts = QStringLiteral("totp.accounts");
// The names of the accounts' groups, kept once.
inline const QString groups = QStringLiteral("totp.groups");
// Integer seconds, 0 = never.
inline const QString clipboardClearDelay = QStringLiteral("totp.clipboardClearDelay");
inline const QString panelOpacity = QStringLiteral("totp.panelOpacity");
inline const QString hideCodes = QStringLiteral("totp.hideCodes");
// The id of the deletion awaiting undo, so that a start after a crash removes its secret.
inline const QString pendingDeletion = QStringLiteral("totp.pendingDeletion");
// The adds whose secret may be in the keychain before the list names the account.
inline const QString pendingAdds = QStringLiteral("totp.pendingAdds");

// The panel's top-left corner, as "{x, y}".
inline const QString windowOrigin = QStringLiteral("totp.windowOrigin");
// Once the person was told how to bring a hidden panel back.
inline const QString hideHintShown = QStringLiteral("totp.hideHintShown");
// The colour scheme the desktop stated last, for the first frame of the next start.
inline const QString desktopColorScheme = QStringLiteral("totp.desktopColorScheme");

// Automatic backups: the folder (absent while they are off), how many to keep, the newest
// backup's file name, the keyed digest of its accounts and when it was written, and this
// installation's id.
inline const QString backupFolder = QStringLiteral("totp.backupFolder");
inline const QString backupKeep = QStringLiteral("totp.backupKeep");
inline const QString backupLastFile = QStringLiteral("totp.backupLastFile");
inline const QString backupDigest = QStringLiteral("totp.backupDigest");
inline const QString backupTime = QStringLiteral("totp.backupTime");
inline const QString backupComputer = QStringLiteral("totp.backupComputer");
// A group: one key per other computer, the name of its newest backup looked at.
inline const QString backupSeen = QStringLiteral("totp.backupSeen");

} // namespace SettingsKeys
