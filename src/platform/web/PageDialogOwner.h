#pragma once

#include <QPointer>

#include <functional>

class QWebEnginePage;
class QWidget;

namespace vocab {

// What the commands that open dialogs over a page share: the page, the
// window their dialogs are shown over, and the hook that hears of the modal
// ones, so that the host can hold back its own modeless windows meanwhile.
class PageDialogOwner {
public:
    // Told false before a modal dialog is shown and true after it.
    void setModelessHook(std::function<void(bool)> hook) { m_modeless = std::move(hook); }

protected:
    explicit PageDialogOwner(QWebEnginePage *page);
    ~PageDialogOwner() = default;

    // The page's view; none once the page is gone.
    QWidget *dialogParent() const;
    void modeless(bool enable) const
    {
        if (m_modeless)
            m_modeless(enable);
    }

    // Holds the host's modeless windows back while it lives, and lets them
    // go again however the dialog ends, an error included.
    class ModalSpan {
    public:
        explicit ModalSpan(const PageDialogOwner &owner) : m_owner(owner) { m_owner.modeless(false); }
        ~ModalSpan() { m_owner.modeless(true); }
        ModalSpan(const ModalSpan &) = delete;
        ModalSpan &operator=(const ModalSpan &) = delete;

    private:
        const PageDialogOwner &m_owner;
    };

    QPointer<QWebEnginePage> m_page;

private:
    std::function<void(bool)> m_modeless;
};

} // namespace vocab
