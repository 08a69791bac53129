// The status bar of both main windows: one line of simple text that stays until it is
// replaced.
#pragma once

#include <QStatusBar>

class QLabel;

namespace voltara::ui {

// The text lives in a label of its own, so the empty status tips that menus send while the
// mouse crosses them (which clear a QStatusBar's message) leave it alone.
class StatusLine : public QStatusBar
{
    Q_OBJECT

public:
    explicit StatusLine(QWidget *parent = nullptr);

    void setSimpleText(const QString &text);
    QString simpleText() const;

private:
    QLabel *m_text;
};

} // namespace voltara::ui
