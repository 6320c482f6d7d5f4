#pragma once

#include "app/CodeService.h"
#include "app/CodeTyper.h"
#include "app/CodesOnBus.h"

#include <QObject>

#include <memory>

class AppDelegate;
class KeychainStore;

// Codes from outside the panel: the desktop's search, KRunner and the terminal over the
// bus, and typing a code into the window that had the keyboard before the panel, by XTest on
// X11 and by the desktop portal's keyboard on Wayland.
class CodeAccess : public QObject
{
    Q_OBJECT

public:
    CodeAccess(AppDelegate &delegate, KeychainStore &keychain, CodeService::Locked sessionLocked,
               QObject *parent = nullptr);
    ~CodeAccess() override;

    CodeService &codes() { return *m_codes; }
    // Hides the panel, waits for the keyboard to go back to the window that had it, and
    // types the account's code there; where codes cannot be typed, copies it instead.
    void typeIntoPreviousWindow(const QUuid &id);

Q_SIGNALS:
    // The desktop's search asked for the panel; its filter already shows what the search found.
    void panelRequested();

private:
    void showFiltered(const QString &filter);
    void typeOnceFocusLeft(const QUuid &id, int triesLeft);

    AppDelegate &m_delegate;
    std::unique_ptr<CodeTyper> m_typer;
    std::unique_ptr<CodeService> m_codes;
    std::unique_ptr<CodesOnBus> m_bus;
};
