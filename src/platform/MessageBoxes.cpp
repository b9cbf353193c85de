#include "MessageBoxes.h"

#include "StandIn.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace vocab {

namespace {

int answerFromLog(const MessageBoxRequest &request, const QString &logPath)
{
    QFile log(logPath);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        const QJsonObject record{{"caption", request.caption}, {"text", request.text}, {"flags", int(request.flags)}};
        log.write(QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n');
    }
    bool ok = false;
    const int answer = qEnvironmentVariable("VOCABULINARUM_MESSAGE_ANSWER").toInt(&ok);
    return ok ? answer : defaultAnswer(request.flags);
}

int showBox(const MessageBoxRequest &request, QWidget *parent)
{
    QMessageBox box(QMessageBox::NoIcon, request.caption, request.text, QMessageBox::NoButton, parent);
    box.setTextFormat(request.format);
    switch (request.flags & 0xF) {
    case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MB_YESNOCANCEL: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MB_YESCANCELALL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::Cancel | QMessageBox::YesToAll);
        box.button(QMessageBox::YesToAll)->setText(QStringLiteral("&All"));
        break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    switch (request.flags & 0xF0) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::YesToAll: return IDALL;
    default: return (request.flags & 0xF) == MB_OK ? IDOK : IDCANCEL; // closed with the window's cross
    }
}

} // namespace

int defaultAnswer(unsigned flags)
{
    switch (flags & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
    case MB_YESCANCELALL: return IDYES;
    default: return IDOK;
    }
}

MessageBoxResponder setMessageBoxResponder(MessageBoxResponder responder)
{
    return StandIn<MessageBoxResponder>::Install(std::move(responder));
}

int MessageBox(const QString &text, const QString &caption, unsigned flags, QWidget *parent, Qt::TextFormat format)
{
    const MessageBoxRequest request{text, caption, flags, format};
    if (const MessageBoxResponder responder = StandIn<MessageBoxResponder>::Current())
        return responder(request);
    const QString logPath = qEnvironmentVariable("VOCABULINARUM_MESSAGE_LOG");
    if (!logPath.isEmpty())
        return answerFromLog(request, logPath);
    return showBox(request, parent);
}

void ShowMessage(const QString &text, Qt::TextFormat format)
{
    MessageBox(text, QCoreApplication::applicationName(), MB_OK, QApplication::activeWindow(), format);
}

} // namespace vocab
