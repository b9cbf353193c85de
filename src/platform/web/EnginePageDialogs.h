#pragma once

// The browser's own dialogs and windows over the page, which its command
// target opens: Save As, the page's properties, the find dialog and the
// window of the page's source. Internet Options, the browser's settings
// dialog, has no counterpart: the engine is set up by the program alone.
//
// The modal ones (Save As, the properties) tell the modeless hook false
// before they show and true after. The find dialog and the source window
// are left open when their command returns.

#include "ComTypes.h"
#include "PageDialogOwner.h"

#include <QDateTime>
#include <QDialog>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;
class QCheckBox;
class QRadioButton;
class QPushButton;
class QWebEngineFindTextResult;
class QWebEnginePage;

namespace vocab {

class EngineCommands;
class PageScripts;

// What the properties dialog shows of a page.
struct PageProperties {
    QString title;
    QString address;
    // The document's content type, "text/html" and the like.
    QString type;
    // Bytes: as they came for a page that was fetched, as the page stands
    // now for one written in; -1 when the page does not say.
    qint64 size = -1;
    // As the document tells it: the server's date, else the time it was loaded.
    QDateTime modified;
};

// The find dialog of a page: modeless, one per page, searching the page's
// text forwards or backwards as the user asks. Its widgets carry object names
// ("text", "matchCase", "up", "down", "findNext", "cancel", "status") by
// which tests drive it.
class PageFindDialog : public QDialog {
    Q_OBJECT
public:
    PageFindDialog(QWebEnginePage *page, QWidget *parent);
    ~PageFindDialog() override;

    // Searches for the next match in the direction chosen.
    void findNext();

signals:
    // A search has ended: the matches there are and the one found, from 1
    // (0 when there is none).
    void searched(int matches, int active);

private:
    void showResult(const QWebEngineFindTextResult &result);

    QPointer<QWebEnginePage> m_page;
    QLineEdit *m_text;
    QCheckBox *m_matchCase;
    QRadioButton *m_up;
    QLabel *m_status;
    QPushButton *m_findNext;
};

class EnginePageDialogs : public PageDialogOwner {
public:
    EnginePageDialogs(QWebEnginePage *page, const PageScripts &scripts, EngineCommands &commands);

    // OLECMDID_SAVEAS: the page's HTML into a file the user chooses; `in` may
    // name the file proposed. Told not to prompt, the page goes straight
    // into the file `in` names (E_INVALIDARG without one).
    // OLECMDERR_E_CANCELED when the user cancels, E_FAIL when the file
    // cannot be written or the page gives nothing to write.
    HRESULT saveAs(std::uint32_t option, const QVariant &in);
    // OLECMDID_PROPERTIES: the page's properties in a modal dialog.
    HRESULT properties();
    // The browser group's find command: the find dialog, shown or brought up.
    HRESULT find();
    // The browser group's view-source command: a window showing the page's
    // HTML as the browser has it now.
    HRESULT viewSource();

    PageProperties readProperties() const;

private:
    const PageScripts &m_scripts;
    EngineCommands &m_commands;
    QPointer<PageFindDialog> m_find;
};

} // namespace vocab
