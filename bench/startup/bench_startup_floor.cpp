// The floor for start-up time and memory: the least a Qt program does to show a
// frameless, always-on-top window of the panel's size.
#include <QApplication>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(u"corvane floor"_s);
    window.resize(330, 152);
    window.show();
    return app.exec();
}
