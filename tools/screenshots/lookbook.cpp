// Not a test: a window showing the button styles and countdown bars, for screenshots.
// "lookbook [--dark]"
#include "support/DarkPalette.h"
#include "ui/CircleButton.h"
#include "ui/Palette.h"
#include "ui/TokenProgressView.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

namespace {

void addButtons(QGridLayout *grid, int row, CircleButton::Style style, bool pressed)
{
    const QString name = style == CircleButton::Style::HeaderIcon ? u"header"_s : u"primary"_s;
    grid->addWidget(new QLabel(name + (pressed ? u" pressed"_s : u" rest"_s)), row, 0);
    const Glyph glyphs[] = {Glyph::Plus,           Glyph::Minus,     Glyph::XMark,
                            Glyph::ChevronDown,    Glyph::Checkmark, Glyph::DocOnDoc,
                            Glyph::DocOnClipboard, Glyph::Trash,     Glyph::CircleLeftHalfFilled,
                            Glyph::HandTap,        Glyph::Pencil};
    int column = 1;
    for (const Glyph glyph : glyphs) {
        auto *button = new CircleButton(glyph, style);
        button->setDown(pressed);
        grid->addWidget(button, row, column++);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bool dark = app.arguments().contains(u"--dark"_s);
    QWidget window;
    window.setWindowTitle(u"lookbook"_s);
    QPalette palette = dark ? darkPalette() : QPalette(Palette::mistBlue());
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    auto *grid = new QGridLayout(&window);
    int row = 0;
    for (const auto style : {CircleButton::Style::HeaderIcon, CircleButton::Style::PrimaryHeader})
        for (const bool pressed : {false, true})
            addButtons(grid, row++, style, pressed);

    // 1699999980 is a period boundary; the bars show 90 %, 50 % and 10 % left.
    for (const double elapsed : {3.0, 15.0, 27.0}) {
        auto *bar = new TokenProgressView([elapsed] { return 1699999980.0 + elapsed; });
        bar->setColor(Palette::accentColor(dark));
        bar->setFixedSize(300, 4);
        grid->addWidget(new QLabel(u"%1 s left"_s.arg(30 - elapsed)), row, 0);
        grid->addWidget(bar, row++, 1, 1, 11);
    }
    window.move(20, 20);
    window.show();
    return app.exec();
}
