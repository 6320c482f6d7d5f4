#pragma once

#include "store/TokenAccount.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class AddTokenView;
class QDialog;
class QWidget;
class TokenStore;

// Shows the add and rename sheets over the panel, one at a time, and gives the keys back to
// the panel when the last one closes. A sheet that was dismissed or replaced finishes without
// touching the state that replaced it; one the person closed clears its state.
class SheetPresenter : public QObject
{
    Q_OBJECT

public:
    // `focusTarget` names where the keys go when the widget that had them is gone.
    SheetPresenter(TokenStore &store, QWidget &panel, std::function<QWidget *()> focusTarget,
                   QObject *parent = nullptr);
    // The sheets belong to the panel window, which may outlive the panel's view.
    ~SheetPresenter() override;

    bool showingAdd() const { return m_showingAdd; }
    void setShowingAdd(bool showing);
    const std::optional<TokenAccount> &editingAccount() const { return m_editingAccount; }
    void setEditingAccount(const std::optional<TokenAccount> &account);
    // The add or rename sheet on show, if any.
    QDialog *presentedSheet() const;
    AddTokenView *addSheet() const;

Q_SIGNALS:
    // The panel has the keys again.
    void focusRestored();
    // A new add sheet is on show.
    void addSheetPresented(AddTokenView *sheet);

private:
    void present(QPointer<QDialog> &slot, QDialog *sheet, std::function<void()> closed);
    static void dismiss(QPointer<QDialog> &slot);
    void restoreFocus();

    TokenStore &m_store;
    QWidget &m_panel;
    std::function<QWidget *()> m_focusTarget;
    bool m_showingAdd = false;
    std::optional<TokenAccount> m_editingAccount;
    QPointer<QDialog> m_addSheet;
    QPointer<QDialog> m_editSheet;
    QPointer<QWidget> m_focusBefore;
};
