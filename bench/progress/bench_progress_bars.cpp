// Three 300-px countdown bars of period 30, as three rows show them.
#include "bench_progress_cpu.h"
#include "ui/TokenProgressView.h"

#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    for (int i = 0; i < 3; ++i) {
        auto *bar = new TokenProgressView(systemClock);
        bar->setFixedSize(300, 4);
        layout->addWidget(bar);
    }
    window.move(0, yArgument(app.arguments()));
    return measureWindow(app, window, secondsArgument(app.arguments()));
}
