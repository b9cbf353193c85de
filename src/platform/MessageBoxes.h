#pragma once

#include <QString>
#include <Qt>

#include <functional>

class QWidget;

namespace vocab {

// Buttons and answers as the message-box calls of the viewer use them.
enum MessageBoxFlags : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    // Yes, Cancel and All: a set of our own, beyond the platform's, for a
    // question that may be answered once for every item to come.
    MB_YESCANCELALL = 0x7,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};

enum MessageBoxResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7, IDALL = 8 };

struct MessageBoxRequest {
    QString text;
    QString caption;
    unsigned flags = MB_OK;
    // Qt::PlainText for a text that holds what a page or an address gave,
    // which is shown as it stands, markup and all.
    Qt::TextFormat format = Qt::AutoText;
};

// Answers message boxes instead of a person. Tests install one; with none
// installed, and with the environment variable VOCABULINARUM_MESSAGE_LOG naming
// a file, each box is appended to that file as one JSON line and answered with
// VOCABULINARUM_MESSAGE_ANSWER (a number; the box's first button by default).
using MessageBoxResponder = std::function<int(const MessageBoxRequest &)>;

// Installs a responder and returns the previous one.
MessageBoxResponder setMessageBoxResponder(MessageBoxResponder responder);

// Shows a modal box with the given buttons and returns the button chosen.
int MessageBox(const QString &text, const QString &caption, unsigned flags = MB_OK, QWidget *parent = nullptr,
               Qt::TextFormat format = Qt::AutoText);

// A box with an OK button whose caption is the application's title.
void ShowMessage(const QString &text, Qt::TextFormat format = Qt::AutoText);

// The first button of a box with these flags: what Enter would choose.
int defaultAnswer(unsigned flags);

} // namespace vocab
