#include "ui/SheetPresenter.h"

#include "ui/AddTokenView.h"
#include "ui/EditTokenView.h"

#include <QApplication>

SheetPresenter::SheetPresenter(TokenStore &store, QWidget &panel, std::function<QWidget *()> focusTarget,
                               QObject *parent)
    : QObject(parent),
      m_store(store),
      m_panel(panel),
      m_focusTarget(std::move(focusTarget))
{}

SheetPresenter::~SheetPresenter()
{
    for (QDialog *sheet : {m_addSheet.data(), m_editSheet.data()}) {
        if (sheet)
            sheet->disconnect(this);
        delete sheet;
    }
}

void SheetPresenter::setShowingAdd(bool showing)
{
    if (showing == m_showingAdd)
        return;
    m_showingAdd = showing;
    if (showing) {
        setEditingAccount(std::nullopt); // one sheet at a time
        present(m_addSheet, new AddTokenView(m_store, m_panel.window()), [this] { setShowingAdd(false); });
        Q_EMIT addSheetPresented(addSheet());
    } else {
        dismiss(m_addSheet);
    }
}

void SheetPresenter::setEditingAccount(const std::optional<TokenAccount> &account)
{
    if (account == m_editingAccount)
        return;
    m_editingAccount = account;
    dismiss(m_editSheet);
    if (account) {
        setShowingAdd(false);
        present(m_editSheet, new EditTokenView(m_store, *account, m_panel.window()),
                [this] { setEditingAccount(std::nullopt); });
    }
}

QDialog *SheetPresenter::presentedSheet() const
{
    return m_addSheet ? m_addSheet.data() : m_editSheet.data();
}

AddTokenView *SheetPresenter::addSheet() const
{
    return static_cast<AddTokenView *>(m_addSheet.data());
}

void SheetPresenter::present(QPointer<QDialog> &slot, QDialog *sheet, std::function<void()> closed)
{
    slot = sheet;
    if (QWidget *focused = QApplication::focusWidget(); focused && focused->window() == m_panel.window())
        m_focusBefore = focused;
    connect(sheet, &QDialog::finished, this, [this, &slot, sheet, closed = std::move(closed)] {
        sheet->deleteLater();
        if (slot != sheet)
            return;
        slot = nullptr;
        closed();
        restoreFocus();
    });
    sheet->open();
}

void SheetPresenter::dismiss(QPointer<QDialog> &slot)
{
    if (QDialog *sheet = std::exchange(slot, nullptr))
        sheet->reject();
}

// Back from a sheet the panel takes the keys again, so Ctrl+1 works at once.
void SheetPresenter::restoreFocus()
{
    if (presentedSheet())
        return;
    m_panel.window()->activateWindow();
    QWidget *target = m_focusBefore && m_focusBefore->isVisible() ? m_focusBefore.data() : m_focusTarget();
    target->setFocus(Qt::ActiveWindowFocusReason);
    Q_EMIT focusRestored();
}
