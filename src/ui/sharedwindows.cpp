#include "ui/sharedwindows.h"

#include "core/messages.h"
#include "platform/files.h"
#include "ui/frmabout.h"
#include "ui/frmcredits.h"
#include "ui/messagebox.h"
#include "ui/window_texts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QShortcut>
#include <QUrl>

// Resources of a static library are registered by hand; the macro wants the global namespace.
static void RegisterSharedResources()
{
    Q_INIT_RESOURCE(shared);
}

namespace voltara::ui {

namespace {

#ifdef _WIN32
constexpr const char *kExecutableSuffix = ".exe";
#else
constexpr const char *kExecutableSuffix = "";
#endif

QPointer<frmAbout> &AboutPointer()
{
    static QPointer<frmAbout> window;
    return window;
}

QPointer<frmCredits> &CreditsPointer()
{
    static QPointer<frmCredits> window;
    return window;
}

// What the Credits window keeps from one showing to the next, for the whole run.
CreditsState &PersistentCreditsState()
{
    static CreditsState state;
    return state;
}

// The busy pointer for as long as the object lives, whatever way the scope is left.
class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

} // namespace

void LoadSharedResources()
{
    static const bool loaded = (RegisterSharedResources(), true);
    (void)loaded;
}

void InstallWindowIcon()
{
    LoadSharedResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/voltara/icon.png")));
}

void OpenMenusOnF10(QMainWindow *window)
{
    auto *key = new QShortcut(QKeySequence(Qt::Key_F10), window);
    key->setObjectName(QStringLiteral("menuBarKey"));
    QObject::connect(key, &QShortcut::activated, window, [window] {
        QMenuBar *bar = window->menuBar();
        if (bar->actions().isEmpty())
            return;
        // First the menu bar takes the keyboard as a tap of Alt gives it, so that an item
        // without a menu (the sibling editor) that the arrows reach is started by Return, Enter
        // or Space as it is after Alt.
        // (The event of a modifier key names the modifier as it is after it; Qt gives it as
        // the system sends it, as it was before.)
        QKeyEvent altDown(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &altDown);
        QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
        QCoreApplication::sendEvent(window, &altUp);
        bar->setActiveAction(bar->actions().constFirst());
    });
}

void StartSibling(QWidget *owner, const std::string &program_name)
{
    StartSiblingIn(owner, ProgramFolder(), program_name);
}

void StartSiblingIn(QWidget *owner, const std::string &folder, const std::string &program_name)
{
    const std::string file_name = program_name + kExecutableSuffix;
    const std::string path = JoinToFolder(folder, file_name);
    if (!IsNormalFile(path)) {
        ShowMessageBox(owner, texts::SiblingNotFound(file_name), std::string());
        return;
    }
    QProcess process;
    process.setProgram(FromBytes(path));
    process.setArguments({});
    if (!process.startDetached()) {
        ShowMessageBox(owner, texts::SiblingNotStarted(file_name, ToBytes(process.errorString())),
            messages::kErrorCaption);
    }
}

void OpenURL(QWidget *, const std::string &address)
{
    const BusyPointer busy;
    // Whether a browser came up is not reported, as with any shell hand-over.
    QDesktopServices::openUrl(QUrl(FromBytes(address)));
}

void OpenProjectWebsite(QWidget *owner)
{
    OpenURL(owner, kProjectWebsite);
}

void ShowAboutWindow()
{
    if (frmAbout *window = AboutWindow()) {
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    auto *window = new frmAbout;
    window->setAttribute(Qt::WA_DeleteOnClose);
    AboutPointer() = window;
    window->Form_Load();
}

void ShowCreditsWindow()
{
    CloseCreditsWindow();
    auto *window = new frmCredits(PersistentCreditsState());
    window->setAttribute(Qt::WA_DeleteOnClose);
    CreditsPointer() = window;
    window->Form_Load();
}

void CloseAboutWindow()
{
    if (frmAbout *window = AboutWindow())
        window->close();
}

void CloseCreditsWindow()
{
    if (frmCredits *window = CreditsWindow())
        window->close();
}

frmAbout *AboutWindow()
{
    frmAbout *window = AboutPointer();
    return window && !window->isUnloaded() ? window : nullptr;
}

frmCredits *CreditsWindow()
{
    frmCredits *window = CreditsPointer();
    return window && !window->isUnloaded() ? window : nullptr;
}

} // namespace voltara::ui
