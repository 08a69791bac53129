#include "ui/frmabout.h"

#include "core/messages.h"
#include "ui/accessible.h"
#include "ui/designfont.h"
#include "ui/geometry.h"
#include "ui/picture.h"
#include "ui/sharedwindows.h"
#include "ui/window_texts.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QFont>
#include <QKeySequence>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>

namespace voltara::ui {

namespace {

constexpr const char *kPicture = ":/voltara/about.jpg";

// Screen readers read the texts of a dialog when it opens, of a plain window only its title and
// the focused button: to them the About box is a dialog, as it is to the eye.
class AboutAccessible : public QAccessibleWidget
{
public:
    explicit AboutAccessible(frmAbout *about)
        : QAccessibleWidget(about, QAccessible::Dialog)
    {
    }
};

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    UseAccessible<frmAbout, AboutAccessible>();
    LoadSharedResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QString::fromLatin1(texts::kAboutTitle));
    setWindowFlags(
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(Twips(5160), Twips(3675));
    // What the window shows is what a screen reader reads when it opens, as of a message box.
    setAccessibleDescription(AboutText().trimmed());
    createControls();
}

QString frmAbout::AboutText()
{
    return QStringLiteral(
        "\nVoltara Bot Editor\n\nVersion 1\n\nWritten by the Voltara Bot Editor team");
}

void frmAbout::createControls()
{
    Image1 = AddBackgroundPicture(this, QLatin1String(kPicture));

    lblAnzeige = new QLabel(this);
    lblAnzeige->setObjectName(QStringLiteral("lblAnzeige"));
    lblAnzeige->setGeometry(TwipsRect(120, 900, 4875, 2115));
    MakeRedText(lblAnzeige, InstalledFont(QStringLiteral("Fixedsys"), QFont::Monospace, 9));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsRect(2100, 3240, 1095, 375));
    cmdOK->setAutoDefault(true);
    cmdOK->setAccessibleDescription(QString::fromLatin1(texts::kCloseAbout));
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    // Escape answers like OK; Enter presses the focused button.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
        &frmAbout::cmdOK_Click);
}

void frmAbout::Form_Load()
{
    show();
    lblAnzeige->setText(AboutText());
    Image1->setGeometry(rect());
    ShowPicture(Image1, QLatin1String(kPicture));
}

void frmAbout::cmdOK_Click()
{
    // close() hides the window, then unloads it. A hide of its own before would keep the
    // program running when this was its last window: Qt ends a program only when a visible
    // window closes.
    close();
}

void frmAbout::closeEvent(QCloseEvent *event)
{
    m_unloaded = true;
    event->accept();
}

} // namespace voltara::ui
