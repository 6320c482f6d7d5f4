// The floor: three plain 300-px bars of period 30 that repaint every 100 ms, exactly as
// often as their width changes by a pixel. "--fps60" repaints them at 60 frames a
// second instead, the cost of animating the bars.
#include "bench_progress_cpu.h"

#include <QDateTime>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace {

class PlainBar : public QWidget
{
public:
    explicit PlainBar(int intervalMs)
    {
        setFixedSize(300, 4);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
        m_timer.start(intervalMs);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const double seconds = QDateTime::currentMSecsSinceEpoch() / 1000.0;
        const double left = (30 - std::fmod(seconds, 30)) / 30;
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0, 0, 0, 28));
        painter.fillRect(QRect(0, 0, static_cast<int>(std::ceil(left * width())), height()), QColor(0, 99, 214));
    }

private:
    QTimer m_timer;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList arguments = app.arguments();
    const bool fps60 = arguments.removeAll(QStringLiteral("--fps60")) > 0;
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    for (int i = 0; i < 3; ++i)
        layout->addWidget(new PlainBar(fps60 ? 1000 / 60 : 100));
    window.move(0, yArgument(arguments));
    return measureWindow(app, window, secondsArgument(arguments));
}
