#include "ui/AboutItems.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace AboutItems {

namespace {

const QString contactLink = u"mailto:corvane@example.org"_s;

} // namespace

void addTo(QMenu &menu)
{
    menu.addAction(QCoreApplication::translate("AboutItems", "岚签 %1").arg(QStringLiteral(CORVANE_VERSION)))
        ->setEnabled(false);
    menu.addAction(QCoreApplication::translate("AboutItems", "联系 Corvane 项目"), &menu, [] {
        if (const QUrl url(contactLink, QUrl::StrictMode); url.isValid())
            QDesktopServices::openUrl(url);
    });
}

} // namespace AboutItems
