#include "ui/HideCodesItem.h"

#include "store/TokenStore.h"

#include <QCoreApplication>
#include <QMenu>

namespace HideCodesItem {

void addTo(QMenu &menu, TokenStore &store)
{
    QAction *item = menu.addAction(QCoreApplication::translate("HideCodesItem", "隐藏验证码"));
    item->setCheckable(true);
    item->setChecked(store.hideCodes());
    QObject::connect(item, &QAction::toggled, &menu, [&store](bool hide) {
        store.setHideCodes(hide);
        store.persistSettings();
    });
}

} // namespace HideCodesItem
