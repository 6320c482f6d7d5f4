// The longest stretch without a paint in the panel (three rows, their bars moving) while a
// wrong password is checked against an Aegis vault of the largest cost the reader accepts:
// four password slots of scrypt N = 2^17, r = 8, p = 4. For comparison, how long the same
// check blocks a thread when run in one go.
//   bench_unlock   (needs a display)
#include "FixedKeychain.h"
#include "Targets.h"
#include "app/AppDelegate.h"
#include "engine/Clock.h"
#include "store/TokenAccount.h"
#include "transfer/AegisVault.h"
#include "transfer/ImportOpener.h"
#include "transfer/ImportReader.h"
#include "transfer/TransferPlugin.h"
#include "transfer/VaultCrypto.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int accountCount = 3;
const KdfPolicy policy;

// A vault whose every slot costs what the policy allows at most, each with its own salt.
QByteArray costliestVault()
{
    const QList<ImportedToken> tokens{{u"bench"_s, u"Bench"_s, FixedKeychain::secret}};
    QJsonObject root =
        QJsonDocument::fromJson(*AegisVault::write(tokens, u"right"_s, {.scryptN = policy.maxScryptN})).object();
    QJsonObject header = root[u"header"].toObject();
    QJsonObject slot = header[u"slots"].toArray().first().toObject();
    slot[u"p"_s] = qint64(policy.maxScryptP);
    QJsonArray slots;
    for (quint64 i = 0; i < policy.maxPasswordSlots; ++i) {
        slot[u"salt"_s] = QString::fromLatin1(VaultCrypto::randomBytes(32).toHex());
        slots.append(slot);
    }
    header[u"slots"_s] = slots;
    root[u"header"_s] = header;
    return QJsonDocument(root).toJson();
}

class PaintGaps : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (m_clock.isValid() && event->type() == QEvent::Paint)
            mark();
        return false;
    }
    void start()
    {
        m_clock.start();
        m_last = 0;
    }
    void mark()
    {
        const qint64 now = m_clock.elapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
        ++m_paints;
    }
    qint64 longest() const { return m_longest; }
    qint64 elapsed() const { return m_clock.elapsed(); }
    int paints() const { return m_paints; }

private:
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    int m_paints = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QSettings settings(dir.filePath(u"Corvane.conf"_s), QSettings::IniFormat);
    QList<TokenAccount> accounts;
    for (int i = 0; i < accountCount; ++i)
        accounts.append({QUuid::createUuid(), u"Account %1"_s.arg(i + 1), u"bench"_s, 30, 6});
    settings.setValue(u"totp.accounts"_s, TokenAccount::encodeList(accounts));
    FixedKeychain keychain(accounts);
    AppDelegate delegate(keychain, settings, systemClock);
    delegate.applicationDidFinishLaunching();

    const QByteArray vault = costliestVault();
    PaintGaps gaps;
    app.installEventFilter(&gaps);
    const TransferPlugin layer;
    ImportOpener opener(layer, QStringLiteral(CORVANE_BINARY), policy);
    int status = 1;
    QTimer::singleShot(1000, &app, [&] {
        gaps.start();
        opener.open(vault, u"wrong"_s, [&](const ImportOpener::Result &result) {
            gaps.mark();
            const qint64 checked = gaps.elapsed();
            const bool refused = !result && result.error().kind() == TransferError::Kind::wrongPassword;
            std::printf("password refused: %s, %d paints meanwhile\n", refused ? "yes" : "NO", gaps.paints() - 1);
            reportInformation("wrong password checked in", double(checked), "ms", "off the main thread");
            const bool smooth = reportFigure("longest paint gap meanwhile", double(gaps.longest()), "ms", 250);
            QElapsedTimer blocking;
            blocking.start();
            (void)ImportReader::read(vault, u"wrong"_s, policy);
            reportInformation("the same check in one go", double(blocking.elapsed()), "ms",
                              "how long it would freeze the panel");
            status = refused && smooth ? 0 : 1;
            app.exit(status);
        });
    });
    return app.exec();
}
