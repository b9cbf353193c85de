#pragma once

// What the page puts on the clipboard goes past the host first: when the
// clipboard changes because of the document (it has the focus, or a copy or
// cut command of the control has just run), the host's data filter may give
// other data in its place, which then replaces what the page put there.

#include <QDeadlineTimer>
#include <QObject>

namespace vocab {

class WebEngineControl;

class ClipboardFilter : public QObject {
public:
    explicit ClipboardFilter(WebEngineControl &control);

    // A copy or cut command of the control is about to run: the change of
    // the clipboard that follows is the page's even without the focus.
    void expectPageData();

private:
    void handleChange();
    bool changeIsThePages() const;

    WebEngineControl &m_control;
    QDeadlineTimer m_expected{0};
    bool m_replacing = false;
};

} // namespace vocab
