#include "InputQuery.h"

#include <QInputDialog>
#include <QLineEdit>

namespace vocab {

namespace {

InputQueryResponder &responder()
{
    static InputQueryResponder r;
    return r;
}

} // namespace

InputQueryResponder setInputQueryResponder(InputQueryResponder r)
{
    std::swap(responder(), r);
    return r;
}

bool InputQuery(const QString &ACaption, const QString &APrompt, QString &Value, QWidget *parent)
{
    std::optional<QString> answer;
    if (responder()) {
        answer = responder()(InputQueryRequest{ACaption, APrompt, Value});
    } else {
        bool ok = false;
        const QString text = QInputDialog::getText(parent, ACaption, APrompt, QLineEdit::Normal, Value, &ok);
        if (ok)
            answer = text;
    }
    if (!answer)
        return false;
    Value = *answer;
    return true;
}

} // namespace vocab
