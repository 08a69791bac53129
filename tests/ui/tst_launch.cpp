// Starting the sibling editor from a folder with a throwaway program in it, and the website.
#include "ui/messagebox.h"
#include "ui/sharedwindows.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace voltara;
using namespace voltara::ui;

class TestLaunch : public QObject
{
    Q_OBJECT

public slots:
    // Stands in for the browser.
    void openUrl(const QUrl &url)
    {
        m_urls.append(url);
        const QCursor *cursor = QApplication::overrideCursor();
        m_busyDuringCall = cursor && cursor->shape() == Qt::WaitCursor;
    }

private slots:
    void init();
    void startsTheSiblingWithoutArguments();
    void reportsAMissingSibling();
    void reportsASiblingThatCannotStart();
    void opensTheWebsiteWithTheBusyPointer();

private:
    QString writeProgram(const QString &name, const QByteArray &body);

    QTemporaryDir m_folder;
    QList<MessageBoxRecord> m_boxes;
    QList<QUrl> m_urls;
    bool m_busyDuringCall = false;
};

void TestLaunch::init()
{
    m_boxes.clear();
    SetMessageBoxFunction([this](QWidget *, const MessageBoxRecord &box) { m_boxes.append(box); });
    QVERIFY(m_folder.isValid());
}

QString TestLaunch::writeProgram(const QString &name, const QByteArray &body)
{
    const QString path = m_folder.filePath(name);
    QFile file(path);
    file.remove();
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(body);
    return path;
}

void TestLaunch::startsTheSiblingWithoutArguments()
{
    const QString log = m_folder.filePath(QStringLiteral("started.log"));
    const QString program = writeProgram(
        QStringLiteral("Olmach"), "#!/bin/sh\necho \"$#\" >> '" + QFile::encodeName(log) + "'\n");
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const std::string folder = QFile::encodeName(m_folder.path()).toStdString();
    StartSiblingIn(nullptr, folder, "Olmach");
    // No single-instance check: a second choice starts a second one.
    StartSiblingIn(nullptr, folder + "/", "Olmach");
    QVERIFY(m_boxes.isEmpty());
    const auto started = [&log] {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTRY_COMPARE(started(), QByteArray("0\n0\n"));
}

void TestLaunch::reportsAMissingSibling()
{
    const std::string folder = QFile::encodeName(m_folder.path()).toStdString();
    StartSiblingIn(nullptr, folder, "Tavrin");
    // A folder of that name is no program either.
    QVERIFY(QDir(m_folder.path()).mkdir(QStringLiteral("Missing")));
    StartSiblingIn(nullptr, folder, "Missing");
    QCOMPARE(m_boxes.size(), 2);
    QCOMPARE(m_boxes[0].text, QStringLiteral("Tavrin not found"));
    QCOMPARE(m_boxes[0].title, QString());
    QCOMPARE(m_boxes[0].icon, MessageIcon::None);
    QCOMPARE(m_boxes[1].text, QStringLiteral("Missing not found"));
}

void TestLaunch::reportsASiblingThatCannotStart()
{
    const QString program = writeProgram(QStringLiteral("Plain"), "not a program\n");
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner));
    StartSiblingIn(nullptr, QFile::encodeName(m_folder.path()).toStdString(), "Plain");
    QCOMPARE(m_boxes.size(), 1);
    QVERIFY2(m_boxes[0].text.startsWith(QStringLiteral("Plain could not be started.\n")),
        qPrintable(m_boxes[0].text));
    QVERIFY(m_boxes[0].text.size() > QStringLiteral("Plain could not be started.\n").size());
    QCOMPARE(m_boxes[0].title, QStringLiteral("Error"));
}

void TestLaunch::opensTheWebsiteWithTheBusyPointer()
{
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openUrl");
    OpenProjectWebsite(nullptr);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(m_urls, QList<QUrl> {QUrl(QStringLiteral("https://voltara.example.org/"))});
    QVERIFY(m_busyDuringCall);
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
