#include "core/superbot.h"
#include "olmach/frmolmach.h"
#include "ui/designfont.h"
#include "ui/sharedwindows.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Olmach"));
    voltara::ui::UseInstalledApplicationFont();
    voltara::ui::InstallWindowIcon();
    // The one configuration state of the run; the window works on it directly.
    voltara::SuperbotConfig config;
    frmOlmach window(config);
    window.Form_Load();
    // Closed while starting (from a start-up message box): the event loop would wait forever.
    if (!window.isVisible())
        return 0;
    return app.exec();
}
