// Every message box of both programs goes through ShowMessageBox, so that tests can record
// the boxes instead of answering them.
#pragma once

#include "core/host.h"

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace voltara::ui {

// What a message box showed: its text, its window title and its icon.
struct MessageBoxRecord
{
    QString text;
    QString title;
    MessageIcon icon;
};

// Shows a modal box with one OK button. A caption of kProgramTitle gives the program's title
// (the application name, "Tavrin" or "Olmach"); an empty caption an empty title.
void ShowMessageBox(QWidget *parent, const std::string &text, const Caption &caption,
    MessageIcon icon = MessageIcon::None);

// Replaces the real box (pass an empty function to restore it). For tests.
using MessageBoxFunction = std::function<void(QWidget *parent, const MessageBoxRecord &box)>;
void SetMessageBoxFunction(MessageBoxFunction function);

// Shows a modal question with a button captioned proceed, its first letter the access key, and
// "Cancel", which has the focus and answers Escape: a question before an overwrite must not be
// answered by a hurried Return.
// True when proceed was chosen.
bool ShowQuestionBox(
    QWidget *parent, const std::string &text, const Caption &caption, const std::string &proceed);

// Replaces the real question (pass an empty function to restore it); the function gives the
// answer. For tests.
using QuestionBoxFunction = std::function<bool(QWidget *parent, const MessageBoxRecord &box)>;
void SetQuestionBoxFunction(QuestionBoxFunction function);

// Bytes of the core's texts and paths as Qt text, and back.
QString FromBytes(const std::string &bytes);
std::string ToBytes(const QString &text);

// Lets pending window events run once.
void YieldToEvents();

} // namespace voltara::ui
