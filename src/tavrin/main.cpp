// Tavrin, the bot personality editor: edits bot_personality.cfg beside the program.
#include "tavrin/frmtavrin.h"
#include "ui/designfont.h"
#include "ui/sharedwindows.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    voltara::ui::UseInstalledApplicationFont();
    voltara::ui::InstallWindowIcon();

    voltara::PersonalityConfig config; // the one configuration, for the whole run
    frmTavrin window(config);
    window.Form_Load();
    // The user may close the window while it is still loading.
    if (!window.isVisible())
        return 0;
    return app.exec();
}
