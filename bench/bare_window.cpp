// The comparison window of scripts/bench.sh: what any Qt Widgets main window with a menu bar,
// a status bar and one 101-entry list costs to start.
#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("File"));
    file->addAction(QStringLiteral("Open"));
    file->addAction(QStringLiteral("Save"));
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"), &window, &QWidget::close);
    window.menuBar()->addMenu(QStringLiteral("Help"))->addAction(QStringLiteral("About"));
    window.statusBar()->showMessage(QString());

    auto *list = new QComboBox;
    for (int value = 0; value <= 100; ++value)
        list->addItem(QString::number(value));
    window.setCentralWidget(list);
    window.show();
    return app.exec();
}
