// Counts what a countdown tick repaints in the whole panel with three accounts: every
// paint event between two code changes, by widget class and painted area. A tick should
// be one paint of one bar, never of the see-through widgets under it.
//   bench_paint [seconds]   (default 3; needs a display)
#include "FixedKeychain.h"
#include "Targets.h"
#include "app/AppDelegate.h"
#include "engine/Clock.h"
#include "store/TokenAccount.h"
#include "ui/TokenProgressView.h"

#include <QApplication>
#include <QMap>
#include <QPaintEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int accountCount = 3;
constexpr double period = 30;

struct Paints
{
    int count = 0;
    qint64 pixels = 0;
};

class PaintCounter : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (counting && event->type() == QEvent::Paint) {
            Paints &paints = byClass[QString::fromLatin1(watched->metaObject()->className())];
            ++paints.count;
            for (const QRect &rect : static_cast<QPaintEvent *>(event)->region())
                paints.pixels += qint64(rect.width()) * rect.height();
        }
        return false;
    }

    bool counting = false;
    QMap<QString, Paints> byClass;
};

// Seconds to wait until a stretch of `seconds` fits before the next code change.
double waitForQuietStretch(double seconds)
{
    const double intoPeriod = std::fmod(systemClock(), period);
    const double margin = 1;
    return intoPeriod + seconds + margin < period ? 0 : period - intoPeriod + margin;
}

int report(const PaintCounter &counter, double seconds)
{
    const Paints bars = counter.byClass.value(QString::fromLatin1(TokenProgressView::staticMetaObject.className()));
    int others = 0;
    for (auto it = counter.byClass.cbegin(); it != counter.byClass.cend(); ++it) {
        if (it.key() == QLatin1String(TokenProgressView::staticMetaObject.className()))
            continue;
        others += it->count;
        std::printf("  also painted: %s x%d, %lld px\n", qPrintable(it.key()), it->count,
                    static_cast<long long>(it->pixels));
    }
    const double pixelsPerPaint = bars.count ? double(bars.pixels) / bars.count : 0;
    std::printf("bar paints in %.0f s: %d\n", seconds, bars.count);
    const bool alone = reportFigure("other paints during bar ticks", others, "paints", 0);
    const bool small = reportFigure("pixels per bar paint (one 300x4 bar)", pixelsPerPaint, "px", 300 * 4);
    return bars.count > 0 && alone && small ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3;
    QTemporaryDir dir;
    QSettings settings(dir.filePath(u"Corvane.conf"_s), QSettings::IniFormat);
    QList<TokenAccount> accounts;
    for (int i = 0; i < accountCount; ++i)
        accounts.append({QUuid::createUuid(), u"Account %1"_s.arg(i + 1), u"bench"_s, qint64(period), 6});
    settings.setValue(u"totp.accounts"_s, TokenAccount::encodeList(accounts));

    FixedKeychain keychain(accounts);
    AppDelegate delegate(keychain, settings, systemClock);
    delegate.applicationDidFinishLaunching();
    PaintCounter counter;
    app.installEventFilter(&counter);

    // A second to settle, then a stretch without a code change.
    const int startMs = 1000 + int(1000 * waitForQuietStretch(seconds + 1));
    QTimer::singleShot(startMs, &app, [&] { counter.counting = true; });
    QTimer::singleShot(startMs + int(seconds * 1000), &app, [&] {
        counter.counting = false;
        app.exit(report(counter, seconds));
    });
    return app.exec();
}
