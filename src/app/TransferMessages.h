#pragma once

#include "transfer/TransferError.h"
#include "transfer/TransferLayer.h"

#include <QPointer>
#include <QWidget>

// What moving accounts says to the person, in the panel's message boxes over the window the
// dialogs belong to; and the transfer layer, whose plugin failing to open is said the same way.
class TransferMessages
{
public:
    QWidget *dialogParent() const { return m_dialogParent; }
    void setDialogParent(QWidget *parent) { m_dialogParent = parent; }

    // A message with `choice` offered beside "取消", or with "确定" alone; true when the
    // choice was taken.
    bool ask(const QString &text, const QString &choice) const;
    void inform(const QString &text) const;
    void fail(const TransferError &error) const;
    // The transfer layer; absent, and reported, when its plugin cannot be opened.
    const TransferLayer *layer() const;

private:
    QPointer<QWidget> m_dialogParent;
};
