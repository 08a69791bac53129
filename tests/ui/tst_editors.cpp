// What both editors' main windows share, run once for each: the menus and what their commands
// start, the open dialog, the save commands and the files they choose, the field being edited
// stored before every save, and the start-up without a file.
#include "core/config_document.h"
#include "editor_fixture.h"
#include "olmach/frmolmach.h"
#include "tavrin/frmtavrin.h"

#include <QDesktopServices>
#include <QUrl>

using namespace voltara;
using test::EditorFixture;

namespace {

// One editor as the shared tests need it: a text field or list that takes typed whole numbers,
// the setting it edits, the frame captions of the first three records, and the menu bar.
struct Program
{
    const char *name;
    ConfigKind kind;
    std::unique_ptr<EditorFixture> (*make)();
    const char *field;
    const char *key;
    QStringList records;
    QStringList menuBar;
};

template <typename Fixture> std::unique_ptr<EditorFixture> Make()
{
    return std::make_unique<Fixture>();
}

// clang-format off
const Program kPrograms[] = {
    {"Tavrin", ConfigKind::Personality, Make<test::Editor<frmTavrin, PersonalityConfig>>,
        "cmbMelee", "melee_percent", {"Bot 1", "Bot 2", "Bot 3"},
        {"File", "Presets", "Superbot Editor", "Help"}},
    {"Olmach", ConfigKind::Superbot, Make<test::Editor<frmOlmach, SuperbotConfig>>,
        "txtPL", "powerlevel", {"SUPERBOT", "MEGABOT", "ULTIMATEBOT"},
        {"File", "Bot Personality Editor", "Help"}},
};
// clang-format on

// The file the editor writes for its defaults, with one setting of some records changed.
QByteArray FileBytes(ConfigKind kind, const char *key = nullptr,
    std::initializer_list<std::pair<int, const char *>> values = {})
{
    const auto document = ConfigDocument::Make(kind);
    document->LoadDefaults();
    for (const auto &[record, value] : values)
        document->SetValue(record, key, value);
    return QByteArray::fromStdString(JoinedLines(document->Lines()));
}

// A setting's default in a record.
QString DefaultOf(ConfigKind kind, int record, const char *key)
{
    const auto document = ConfigDocument::Make(kind);
    document->LoadDefaults();
    return QString::fromStdString(document->Value(record, key));
}

const QString kSaved = QStringLiteral("[] File successfully saved");

} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

public slots:
    // Stands in for the browser.
    void openUrl(const QUrl &url) { m_urls << url; }

private slots:
    void init() { m_urls.clear(); }

    void menus_data() { programs(); }
    void menus();
    void openShowsRecordOneOfTheFile_data() { programs(); }
    void openShowsRecordOneOfTheFile();
    void saveCommandsChooseTheirFiles_data() { programs(); }
    void saveCommandsChooseTheirFiles();
    void saveShortcutStoresTheFieldBeingEdited_data() { programs(); }
    void saveShortcutStoresTheFieldBeingEdited();
    void withoutAFileSaveAsksForAName_data() { programs(); }
    void withoutAFileSaveAsksForAName();
    void theFieldStoresIntoTheRecordItWasTypedFor_data();
    void theFieldStoresIntoTheRecordItWasTypedFor();
    void loadDefaultValuesResetsTheRecordOnViewOnly_data() { programs(); }
    void loadDefaultValuesResetsTheRecordOnViewOnly();

private:
    static void programs()
    {
        QTest::addColumn<int>("program");
        for (int i = 0; i < int(std::size(kPrograms)); ++i)
            QTest::newRow(kPrograms[i].name) << i;
    }

    // The editor of the row, not yet started, beside its file of defaults unless told otherwise.
    std::unique_ptr<EditorFixture> make(bool withFile = true)
    {
        QFETCH(int, program);
        m_program = &kPrograms[program];
        QApplication::setApplicationName(QLatin1String(m_program->name));
        auto editor = m_program->make();
        if (withFile)
            editor->writeFile(fileName(), FileBytes(m_program->kind));
        return editor;
    }
    std::unique_ptr<EditorFixture> start(bool withFile = true)
    {
        auto editor = make(withFile);
        editor->start();
        return editor;
    }
    QString fileName() const { return QLatin1String(FileNameOf(m_program->kind)); }
    // The file of defaults with the field's setting of the records holding these values.
    QByteArray edited(std::initializer_list<std::pair<int, const char *>> values) const
    {
        return FileBytes(m_program->kind, m_program->key, values);
    }
    QByteArray edited(const char *value) const
    {
        return edited({
            {1, value}
        });
    }

    const Program *m_program = nullptr;
    QList<QUrl> m_urls;
};

void TestEditors::menus()
{
    const auto editor = start();
    QCOMPARE(editor->menuBar(), m_program->menuBar);
    QCOMPARE(editor->menu("menFile"),
        QStringList({"menLoad=Open=Ctrl+O", "menSave=Save as default=",
            "menSave_Current=Save=Ctrl+S", "menSaveAs=Save as=", "menStrich==", "menQuit=Exit="}));
    QVERIFY(editor->action("menStrich")->isSeparator());
    QCOMPARE(editor->menu("menHelp"),
        QStringList({"menAbout=About=F1", "menCredits=Credits=F3", "menVisit=Voltara Website="}));
    QCOMPARE(editor->action("menBot")->text(), m_program->menuBar[m_program->menuBar.size() - 2]);

    // The sibling is looked for beside this test program, where it is not.
    editor->trigger("menBot");
    const QString sibling =
        QLatin1String(m_program->kind == ConfigKind::Personality ? "Olmach" : "Tavrin");
    QCOMPARE(editor->boxes, QStringList {"[] " + sibling + " not found"});
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openUrl");
    editor->trigger("menVisit");
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(m_urls, QList<QUrl> {QUrl(QStringLiteral("https://voltara.example.org/"))});
    editor->trigger("menAbout");
    QVERIFY(ui::AboutWindow());
    editor->trigger("menCredits");
    QVERIFY(editor->mainWindow()->isVisible());
    editor->trigger("menQuit");
    QVERIFY(!editor->mainWindow()->isVisible());
}

void TestEditors::openShowsRecordOneOfTheFile()
{
    const auto editor = start();
    editor->writeFile(QStringLiteral("other.cfg"), edited("33"));
    editor->selector()->setValue(3);

    // Cancelled: nothing changes, nothing shows.
    editor->trigger("menLoad");
    QCOMPARE(editor->dialogs.size(), 1);
    QCOMPARE(editor->dialogs[0].save, false);
    QCOMPARE(editor->dialogs[0].filter, std::string("Config-files (*.cfg)|*.cfg"));
    QCOMPARE(editor->dialogs[0].title, std::string("Open config-file"));
    QCOMPARE(editor->dialogs[0].folder, ui::ToBytes(editor->dir.path()));
    QCOMPARE(editor->selector()->value(), 3);

    editor->dialogAnswer = editor->path(QStringLiteral("other.cfg"));
    QTest::keyClick(editor->mainWindow(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(editor->dialogs.size(), 2);
    QCOMPARE(editor->selector()->value(), 1);
    QCOMPARE(editor->frameCaption(), m_program->records[0]);
    QCOMPARE(editor->shown(m_program->field), QStringLiteral("33"));
    QVERIFY(editor->boxes.isEmpty());
}

// Save writes back to the file last read, Save as to a chosen one, Save as default beside the
// program; each first stores the field being edited.
void TestEditors::saveCommandsChooseTheirFiles()
{
    const auto editor = start();
    const QString other = QStringLiteral("other.cfg"), copy = QStringLiteral("copy.cfg");
    editor->writeFile(other, FileBytes(m_program->kind));
    editor->dialogAnswer = editor->path(other);
    editor->trigger("menLoad");

    editor->typeInto(m_program->field, QStringLiteral("12"));
    editor->dialogAnswer = editor->path(copy);
    editor->trigger("menSaveAs");
    QCOMPARE(editor->readFile(copy), edited("12"));

    editor->typeInto(m_program->field, QStringLiteral("13"));
    editor->trigger("menSave_Current");
    QCOMPARE(editor->readFile(other), edited("13"));
    QCOMPARE(editor->readFile(copy), edited("12"));

    editor->typeInto(m_program->field, QStringLiteral("14"));
    editor->trigger("menSave");
    QCOMPARE(editor->readFile(fileName()), edited("14"));
    QCOMPARE(editor->readFile(other), edited("13"));
    QCOMPARE(editor->boxes, QStringList(3, kSaved));
    QCOMPARE(editor->dialogs.size(), 2);
    QCOMPARE(QApplication::focusWidget(), editor->selector());
}

void TestEditors::saveShortcutStoresTheFieldBeingEdited()
{
    const auto editor = start();
    editor->typeInto(m_program->field, QStringLiteral("45"));
    QCOMPARE(editor->shown(m_program->field), QStringLiteral("45"));
    QTest::keyClick(editor->find(m_program->field), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(editor->boxes, QStringList {kSaved});
    QCOMPARE(QApplication::focusWidget(), editor->selector());
    QCOMPARE(editor->readFile(fileName()), edited("45"));
}

// The missing file is reported over the window, under the busy pointer of the start-up; with
// nothing read, Save asks for a name rather than writing ".cfg", and goes on asking.
void TestEditors::withoutAFileSaveAsksForAName()
{
    const auto editor = start(false);
    QCOMPARE(editor->boxes,
        QStringList {QStringLiteral("[Error] File: \"%1\" doesn't exist\nLoading default values")
                         .arg(editor->path(fileName()))});
    QCOMPARE(editor->overVisibleWindow, QList<bool> {true});
    QCOMPARE(editor->cursorAtBox, QList<Qt::CursorShape> {Qt::WaitCursor});
    QCOMPARE(editor->mainWindow()->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!QApplication::overrideCursor());

    editor->boxes.clear();
    editor->trigger("menSave_Current");
    QCOMPARE(editor->dialogs.size(), 1);
    QCOMPARE(editor->dialogs[0].save, true);
    QCOMPARE(editor->dialogs[0].filter, std::string("*.cfg (Config-file)|*.cfg"));
    QCOMPARE(editor->dialogs[0].title, std::string("Save as config-file"));
    QVERIFY(editor->boxes.isEmpty());
    QVERIFY(!QFile::exists(editor->path(QStringLiteral(".cfg"))));

    editor->dialogAnswer = editor->path(QStringLiteral("chosen"));
    editor->typeInto(m_program->field, QStringLiteral("45"));
    QTest::keyClick(editor->find(m_program->field), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(editor->boxes, QStringList {kSaved});
    QCOMPARE(editor->readFile(QStringLiteral("chosen.cfg")), edited("45"));
    editor->trigger("menSave_Current");
    QCOMPARE(editor->dialogs.size(), 3);
}

// A value typed for one record is stored there, whether the view then moves by a drag of the
// selector or by a click on it, which takes the focus before the record changes.
void TestEditors::theFieldStoresIntoTheRecordItWasTypedFor_data()
{
    QTest::addColumn<int>("program");
    QTest::addColumn<bool>("drag");
    for (int i = 0; i < int(std::size(kPrograms)); ++i) {
        QTest::addRow("%s, drag", kPrograms[i].name) << i << true;
        QTest::addRow("%s, click", kPrograms[i].name) << i << false;
    }
}

void TestEditors::theFieldStoresIntoTheRecordItWasTypedFor()
{
    QFETCH(bool, drag);
    const auto editor = start();
    editor->typeInto(m_program->field, QStringLiteral("45"));
    if (drag) {
        QCOMPARE(editor->dragSelectorTo(3), m_program->records.mid(1));
    } else {
        const QRect bar = editor->selector()->rect();
        QTest::mouseClick(
            editor->selector(), Qt::LeftButton, {}, QPoint(bar.right() - 3, bar.center().y()));
        QCOMPARE(editor->frameCaption(), m_program->records[1]);
    }
    const int shown = editor->selector()->value();
    QCOMPARE(editor->shown(m_program->field), DefaultOf(m_program->kind, shown, m_program->key));
    editor->trigger("menSave_Current");
    QCOMPARE(editor->readFile(fileName()), edited("45"));
}

// "load default values" gives the record on view its defaults, the field being edited included.
void TestEditors::loadDefaultValuesResetsTheRecordOnViewOnly()
{
    const auto editor = make();
    editor->writeFile(fileName(),
        edited({
            {2, "7"},
            {3, "7"}
    }));
    editor->start();
    editor->selector()->setValue(3);
    editor->typeInto(m_program->field, QStringLiteral("45"));
    QTest::mouseClick(editor->find("cmdDefault"), Qt::LeftButton);
    QCOMPARE(editor->shown(m_program->field), DefaultOf(m_program->kind, 3, m_program->key));
    editor->trigger("menSave_Current");
    QCOMPARE(editor->readFile(fileName()),
        edited({
            {2, "7"}
    }));
}

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
