// The floor for start-up time and memory: the least a Qt program does to show a
// frameless, always-on-top window of the panel's size with one line of Chinese text,
// which loads the same CJK font the panel needs. Like the app, it says on the turn of
// the event loop after its first frame that it painted.
#include <QApplication>
#include <QLabel>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

class Window : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QLabel::paintEvent(event);
        if (std::exchange(m_painted, true))
            return;
        QMetaObject::invokeMethod(
            this, [] { std::fputs("corvane.startup: panel painted\n", stderr); }, Qt::QueuedConnection);
    }

private:
    bool m_painted = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Window window(u"岚签：一行中文文字"_s, nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(u"corvane floor"_s);
    window.resize(330, 152);
    window.show();
    return app.exec();
}
