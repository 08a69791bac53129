// The About window both editors share: program name and version over a picture, and OK.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace voltara::ui {

class frmAbout : public QWidget
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    // The label's text: a blank line above the name and between the three text lines.
    static QString AboutText();

    // Shows the window with its text.
    void Form_Load();

    // True once the window has been closed, however that came about.
    bool isUnloaded() const { return m_unloaded; }

public slots:
    void cmdOK_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();

    QLabel *Image1 = nullptr;
    QLabel *lblAnzeige = nullptr;
    QPushButton *cmdOK = nullptr;
    bool m_unloaded = false;
};

} // namespace voltara::ui
