#include "InputQuery.h"

#include "StandIn.h"

#include <QInputDialog>
#include <QLineEdit>

#include <utility>

namespace vocab {

InputQueryResponder setInputQueryResponder(InputQueryResponder responder)
{
    return StandIn<InputQueryResponder>::Install(std::move(responder));
}

bool InputQuery(const QString &ACaption, const QString &APrompt, QString &Value, QWidget *parent)
{
    std::optional<QString> answer;
    if (const InputQueryResponder responder = StandIn<InputQueryResponder>::Current()) {
        answer = responder(InputQueryRequest{ACaption, APrompt, Value});
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
