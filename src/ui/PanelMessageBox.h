#pragma once

#include "ui/SheetDialog.h"

// A message in the sheets' look: the text, and either "取消" beside an accent button for
// the offered choice, or an accent "确定" alone. The accent button is the default: Return
// takes it, Escape cancels. exec() gives Accepted when the choice was taken.
class PanelMessageBox : public SheetDialog
{
    Q_OBJECT

public:
    explicit PanelMessageBox(const QString &text, const QString &choice = {}, QWidget *parent = nullptr);
};
