#include "app/CodeAccess.h"

#include "app/AppDelegate.h"
#include "app/InteractiveFloatingPanel.h"
#include "app/PortalCodeTyper.h"
#include "app/X11CodeTyper.h"
#include "app/X11Window.h"
#include "ui/CodeCopier.h"
#include "ui/ContentView.h"
#include "ui/TokenListView.h"

#include <QDBusConnection>
#include <QTimer>

namespace {

// The window manager hands the keyboard back within a few frames; this is how often and how
// long the typing waits for that.
constexpr std::chrono::milliseconds focusPoll(10);
constexpr int focusTries = 50;

std::unique_ptr<CodeTyper> typerForSession(KeychainStore &keychain)
{
    if (X11Window::isWaylandSession())
        return std::make_unique<PortalCodeTyper>(QDBusConnection::sessionBus(), keychain);
    if (xcb_connection_t *connection = X11Window::connection())
        return std::make_unique<X11CodeTyper>(connection);
    return nullptr;
}

} // namespace

CodeAccess::CodeAccess(AppDelegate &delegate, KeychainStore &keychain, CodeService::Locked sessionLocked,
                       QObject *parent)
    : QObject(parent),
      m_delegate(delegate),
      m_typer(typerForSession(keychain)),
      m_codes(std::make_unique<CodeService>(
          delegate.store(),
          [&copier = delegate.contentView()->copier()](const TokenAccount &account) { copier.copyAccount(account); },
          systemClock, std::move(sessionLocked))),
      m_bus(std::make_unique<CodesOnBus>(*m_codes, systemClock, QDBusConnection::sessionBus()))
{
    m_codes->setTyper(m_typer.get());
    connect(m_bus.get(), &CodesOnBus::searchLaunched, this, &CodeAccess::showFiltered);
    delegate.contentView()->list()->setTypingNote([codes = m_codes.get()] { return codes->typingUnavailable(); });
    connect(delegate.contentView(), &ContentView::typeRequested, this,
            [this](const TokenAccount &account) { typeIntoPreviousWindow(account.id); });
}

CodeAccess::~CodeAccess() = default;

void CodeAccess::showFiltered(const QString &filter)
{
    m_delegate.contentView()->list()->setFilter(filter);
    Q_EMIT panelRequested();
}

void CodeAccess::typeIntoPreviousWindow(const QUuid &id)
{
    m_delegate.windowController().hidePanel();
    typeOnceFocusLeft(id, focusTries);
}

// On X11 the typing waits until the panel no longer has the input focus; on Wayland, where
// that cannot be asked, it waits the longest.
void CodeAccess::typeOnceFocusLeft(const QUuid &id, int triesLeft)
{
    const bool panelFocused = X11Window::connection() && !X11Window::isWaylandSession()
                                  ? X11Window::hasInputFocus(m_delegate.panel()->winId())
                                  : triesLeft > focusTries - 15;
    if (panelFocused && triesLeft > 0) {
        QTimer::singleShot(focusPoll, this, [this, id, triesLeft] { typeOnceFocusLeft(id, triesLeft - 1); });
        return;
    }
    m_codes->whenUsable(id, [this, id] { m_codes->type(id, [](bool) {}); });
}
