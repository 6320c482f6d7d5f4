// Runs the countdown bars, the floor and the 60 fps variant side by side on the current
// display and prints their CPU time a minute. "bench_progress [seconds]" (default 60).
#include "Targets.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Run
{
    QString label;
    std::unique_ptr<QProcess> process;
};

Run start(const QString &label, const QString &program, const QStringList &arguments)
{
    Run run{label, std::make_unique<QProcess>()};
    run.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.process->start(QCoreApplication::applicationDirPath() + u'/' + program, arguments);
    return run;
}

// CPU milliseconds a minute, or a negative number when the run failed.
double cpuPerMinute(Run &run, double seconds)
{
    run.process->waitForFinished(static_cast<int>(seconds * 1000) + 30000);
    const QString output = QString::fromLatin1(run.process->readAllStandardOutput());
    const qsizetype at = output.indexOf(u"cpu_ms "_s);
    if (at < 0) {
        std::fprintf(stderr, "%s: no measurement\n", qPrintable(run.label));
        return -1;
    }
    return output.mid(at + 7).trimmed().toDouble() * 60 / seconds;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 60;
    const QString duration = QString::number(seconds);
    // At once, so the three share the same minute of the same machine.
    Run bars = start(u"progress bars"_s, u"bench_progress_bars"_s, {duration, u"0"_s});
    Run floor = start(u"floor"_s, u"bench_progress_floor"_s, {duration, u"100"_s});
    Run fps60 = start(u"60 fps"_s, u"bench_progress_floor"_s, {duration, u"200"_s, u"--fps60"_s});
    const double barsMs = cpuPerMinute(bars, seconds);
    const double floorMs = cpuPerMinute(floor, seconds);
    const double fps60Ms = cpuPerMinute(fps60, seconds);
    if (barsMs < 0 || floorMs < 0 || fps60Ms < 0)
        return 1;
    char against[96];
    std::snprintf(against, sizeof against, "floor %.0f ms/min, 60 fps %.0f ms/min", floorMs, fps60Ms);
    reportInformation("countdown bars alone, CPU", barsMs, "ms/min", against);
    return reportFigure("countdown bars alone / floor", barsMs / floorMs, "x", 1.25) ? 0 : 1;
}
