// The floor for start-up time and memory: the least a Qt program does to show a
// frameless, always-on-top window of the panel's size with one line of Chinese text,
// which loads the same CJK font the panel needs.
#include <QApplication>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel window(u"岚签：一行中文文字"_s, nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(u"corvane floor"_s);
    window.resize(330, 152);
    window.show();
    return app.exec();
}
