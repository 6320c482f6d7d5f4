#include "ui/AboutItems.h"

#include <QDesktopServices>
#include <QMenu>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace AboutItems {

namespace {

const QString contactLabel = u"联系 Corvane 项目"_s;
const QString contactLink = u"mailto:corvane@example.org"_s;

} // namespace

void addTo(QMenu &menu)
{
    menu.addAction(u"岚签 "_s + QStringLiteral(CORVANE_VERSION))->setEnabled(false);
    menu.addAction(contactLabel, &menu, [] {
        if (const QUrl url(contactLink, QUrl::StrictMode); url.isValid())
            QDesktopServices::openUrl(url);
    });
}

} // namespace AboutItems
