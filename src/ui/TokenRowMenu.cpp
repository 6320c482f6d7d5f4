#include "ui/TokenRowMenu.h"

TokenRowMenu::TokenRowMenu(bool first, bool last, const std::optional<QString> &typingNote, QWidget *parent)
    : QMenu(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    addItem(tr("复制验证码"), RowAction::Copy);
    if (typingNote)
        addItem(typingNote->isEmpty() ? tr("输入到上一个窗口")
                                      : tr("输入到上一个窗口（%1，改为复制）").arg(*typingNote),
                RowAction::TypeIntoPreviousWindow);
    addItem(tr("重命名…"), RowAction::Rename);
    addItem(tr("显示二维码…"), RowAction::ShowQrCode);
    addSeparator();
    addItem(tr("上移"), RowAction::MoveUp)->setEnabled(!first);
    addItem(tr("下移"), RowAction::MoveDown)->setEnabled(!last);
    addSeparator();
    addItem(tr("删除"), RowAction::Delete);
}

QAction *TokenRowMenu::addItem(const QString &text, RowAction action)
{
    return addAction(text, this, [this, action] { Q_EMIT chosen(action); });
}
