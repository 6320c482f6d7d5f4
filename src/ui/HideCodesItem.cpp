#include "ui/HideCodesItem.h"

#include "store/PanelPreferences.h"

#include <QCoreApplication>
#include <QMenu>

namespace HideCodesItem {

void addTo(QMenu &menu, PanelPreferences &preferences)
{
    QAction *item = menu.addAction(QCoreApplication::translate("HideCodesItem", "隐藏验证码"));
    item->setCheckable(true);
    item->setChecked(preferences.hideCodes());
    QObject::connect(item, &QAction::toggled, &menu, [&preferences](bool hide) {
        preferences.setHideCodes(hide);
        preferences.persist();
    });
}

} // namespace HideCodesItem
