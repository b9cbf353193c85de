#pragma once

// The input box: a caption, a prompt and an edit holding a text, with OK and
// Cancel. Like the message boxes, it can be answered instead of a person.

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace vocab {

struct InputQueryRequest {
    QString caption;
    QString prompt;
    QString value;
};

// The text accepted, or nothing for Cancel.
using InputQueryResponder = std::function<std::optional<QString>(const InputQueryRequest &)>;

// Installs a responder and returns the previous one.
InputQueryResponder setInputQueryResponder(InputQueryResponder responder);

// Shows the box with `Value` in its edit; true when the user accepts, and
// `Value` is then the text accepted. Cancel leaves `Value` as it was.
bool InputQuery(const QString &ACaption, const QString &APrompt, QString &Value, QWidget *parent = nullptr);

} // namespace vocab
