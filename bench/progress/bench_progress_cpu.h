#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <cstdio>

// Shared by the measured windows: shows `window`, lets it settle for a second, then
// prints the process CPU time spent over the next `seconds` as "cpu_ms <n>" and quits.
inline double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

inline int measureWindow(QApplication &app, QWidget &window, double seconds)
{
    window.show();
    double start = 0;
    QTimer::singleShot(1000, &app, [&] {
        start = processCpuMs();
        QTimer::singleShot(static_cast<int>(seconds * 1000), &app, [&] {
            std::printf("cpu_ms %.1f\n", processCpuMs() - start);
            std::fflush(stdout);
            app.quit();
        });
    });
    return app.exec();
}

// "program [seconds] [y]": the measuring time and the window's vertical place.
inline double secondsArgument(const QStringList &arguments)
{
    return arguments.size() > 1 ? arguments.at(1).toDouble() : 60;
}

inline int yArgument(const QStringList &arguments)
{
    return arguments.size() > 2 ? arguments.at(2).toInt() : 0;
}
