// Every character that a caption or a field of either main window holds is drawn in the font
// its control uses: a face that loses glyphs through Qt's font engines (a bitmap face under
// Wine drew no capital "I") leaves a caption with a hole. The fields are checked for every
// character a user may type into them. Prints each missing character with its control; exit
// status 1 when there is one.
#include "olmach/frmolmach.h"
#include "tavrin/frmtavrin.h"
#include "ui/messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

// Whether the character leaves any ink when drawn alone in the font.
bool Draws(const QFont &font, QChar character)
{
    QImage image(64, 64, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, 64, 64), Qt::AlignCenter, QString(character));
    painter.end();
    for (int y = 0; y < image.height(); ++y) {
        const uchar *row = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] < 224)
                return true;
        }
    }
    return false;
}

// What the control shows, and for a field what may be typed into it.
QString TextOf(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return QString(button->text()).remove(QLatin1Char('&'));
    if (const auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->title();
    if (qobject_cast<const QLineEdit *>(control)) {
        QString typed;
        for (char c = '!'; c <= '~'; ++c)
            typed += QLatin1Char(c);
        return typed;
    }
    return {};
}

int CountMissing(const QWidget &window)
{
    int missing = 0;
    QSet<QString> checked;
    for (const QWidget *control : window.findChildren<QWidget *>()) {
        for (const QChar character : TextOf(control)) {
            const QString key = control->font().key() + character;
            if (character.isSpace() || checked.contains(key))
                continue;
            checked.insert(key);
            if (!Draws(control->font(), character)) {
                std::printf("%s: \"%s\" is not drawn in %s\n", qPrintable(control->objectName()),
                    qPrintable(QString(character)), qPrintable(control->font().family()));
                ++missing;
            }
        }
    }
    return missing;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    voltara::ui::SetMessageBoxFunction([](QWidget *, const voltara::ui::MessageBoxRecord &) {});
    const QTemporaryDir folder;
    voltara::PersonalityConfig personalities;
    voltara::SuperbotConfig superbots;
    frmTavrin tavrin(personalities, folder.path().toStdString());
    frmOlmach olmach(superbots, folder.path().toStdString());
    tavrin.Form_Load();
    olmach.Form_Load();
    const int missing = CountMissing(tavrin) + CountMissing(olmach);
    std::printf("%s\n", missing == 0 ? "every character is drawn" : "characters missing");
    return missing == 0 ? 0 : 1;
}
