#pragma once

// A browser control for tests of the host: no engine, a document only when
// the test gives it one, and a record of what the host asked of it. Like
// the real control, it reads its host's ambient properties again when told
// they changed.

#include "AppError.h"
#include "HbCore.h"
#include "WebBrowser.h"
#include "WindowHelpers.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <memory>
#include <utility>
#include <vector>

namespace vocab::test {

// A document command target with the zoom commands and ranges of a control.
class SpyCommands : public IOleCommandTarget {
public:
    struct Call {
        std::uint32_t id;
        QVariant in;
    };
    HRESULT QueryStatus(const QUuid *, std::span<OLECMD> prgCmds, OLECMDTEXT *) override
    {
        ++statusQueries;
        for (OLECMD &cmd : prgCmds)
            cmd.cmdf = cmd.cmdID == OLECMDID_COPY ? (OLECMDF_SUPPORTED | OLECMDF_ENABLED | OLECMDF_LATCHED) : 0;
        return S_OK;
    }
    HRESULT Exec(const QUuid *, std::uint32_t id, std::uint32_t, const QVariant &in, QVariant *out) override
    {
        calls.push_back({id, in});
        if (sharedLog)
            sharedLog->push_back({id, in});
        QVariant answer;
        switch (id) {
        case OLECMDID_ZOOM:
            if (in.isValid())
                textSize = in.toInt();
            answer = textSize;
            break;
        case OLECMDID_GETZOOMRANGE:
            answer = static_cast<int>(0u | (4u << 16));
            break;
        case OLECMDID_OPTICAL_ZOOM:
            if (in.isValid())
                optical = in.toInt();
            answer = optical;
            break;
        case OLECMDID_OPTICAL_GETZOOMRANGE:
            answer = static_cast<int>(10u | (1000u << 16));
            break;
        default:
            return OLECMDERR_E_NOTSUPPORTED;
        }
        if (out)
            *out = answer;
        return S_OK;
    }
    int callsOf(std::uint32_t id) const
    {
        int n = 0;
        for (const Call &c : calls)
            n += c.id == id;
        return n;
    }

    std::vector<Call> calls;
    // A log that outlives the control, for what happens while it goes.
    std::vector<Call> *sharedLog = nullptr;
    int statusQueries = 0;
    int textSize = 2;
    int optical = 100;
};

class SpyElement : public IHTMLElement {
public:
    explicit SpyElement(QRect box = {}) : m_box(box) {}
    QString tagName() const override { return QStringLiteral("BODY"); }
    QString innerText() const override { return {}; }
    QString innerHTML() const override { return {}; }
    QString outerHTML() const override { return {}; }
    void setInnerHTML(const QString &) override {}
    void focus() override { ++focused; }
    QRect getBoundingClientRect() const override { return m_box; }
    int focused = 0;

private:
    QRect m_box;
};

class SpyWindow : public IHTMLWindow2 {
public:
    void scrollBy(int x, int y) override { scrolls.push_back({x, y}); }
    const IHTMLEventObj *event() const override { return currentEvent; }
    QVariant execScript(const QString &code, const QString &language) override
    {
        scripts.push_back({code, language});
        if (!scriptError.isEmpty())
            throw AppError(scriptError);
        return {};
    }
    std::vector<QPoint> scrolls;
    const IHTMLEventObj *currentEvent = nullptr;
    std::vector<std::pair<QString, QString>> scripts;
    // What execScript throws, when set.
    QString scriptError;
};

// An automation object with the members the test gives it: each answers
// its value, or fails with the description and source given.
class SpyDispatch : public IDispatch {
public:
    struct Member {
        QVariant value;
        QString errorDescription;
        QString errorSource;
    };
    struct Call {
        int id;
        std::uint16_t flags;
        QVariantList args;
    };
    HRESULT GetTypeInfoCount(int &pctinfo) override
    {
        pctinfo = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(int, int, ITypeInfo *&ppTInfo) override
    {
        ppTInfo = nullptr;
        return E_NOTIMPL;
    }
    HRESULT GetIDsOfNames(const QUuid &, const QStringList &names, int, QList<int> &ids) override
    {
        const qsizetype index = names.isEmpty() ? -1 : memberNames.indexOf(names.first());
        ids = {index < 0 ? DISPID_UNKNOWN : static_cast<int>(index) + 1};
        return index < 0 ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT Invoke(int id, const QUuid &, int, std::uint16_t flags, DISPPARAMS &params, QVariant *result,
                   EXCEPINFO *error, std::uint32_t *) override
    {
        calls.push_back({id, flags, params.args});
        const Member &member = members.at(id - 1);
        if (!member.errorDescription.isEmpty() || !member.errorSource.isEmpty()) {
            error->bstrDescription = member.errorDescription;
            error->bstrSource = member.errorSource;
            return DISP_E_EXCEPTION;
        }
        *result = member.value;
        return S_OK;
    }
    void add(const QString &name, Member member)
    {
        memberNames << name;
        members.push_back(std::move(member));
    }

    QStringList memberNames;
    std::vector<Member> members;
    std::vector<Call> calls;
};

// Properties of an event object, as a script error gives them.
class SpyEvent : public IHTMLEventObj {
public:
    bool getProperty(const QString &name, QVariant &value) const override
    {
        const auto it = properties.constFind(name.toLower());
        if (it == properties.constEnd())
            return false;
        value = *it;
        return true;
    }
    QHash<QString, QVariant> properties;
};

class SpyDocument : public IHTMLDocument2, public IHTMLDocument3 {
public:
    QString title() const override { return {}; }
    QString url() const override { return {}; }
    QString charset() const override { return charsetText; }
    void setCharset(const QString &c) override { charsetText = c; }
    QString cookie() const override { return QStringLiteral("a=1"); }
    QString readyState() const override { return QStringLiteral("complete"); }
    QString designMode() const override { return designModeText; }
    void setDesignMode(const QString &mode) override { designModeText = mode; }
    std::unique_ptr<IHTMLElement> body() const override { return std::make_unique<SpyElement>(); }
    std::unique_ptr<IHTMLSelectionObject> selection() const override { return nullptr; }
    std::unique_ptr<IHTMLElement> activeElement() const override { return nullptr; }
    IHTMLWindow2 *parentWindow() override { return &window; }
    void write(const QString &text) override { pending += text; }
    void close() override { written << std::exchange(pending, QString()); }
    bool execCommand(const QString &, bool, const QVariant &) override { return false; }
    bool queryCommandEnabled(const QString &command) const override { return enabledCommands.contains(command); }
    bool queryCommandState(const QString &) const override { return false; }
    IOleCommandTarget *commandTarget() override { return &commands; }
    IDispatch *Script() override { return &script; }
    std::unique_ptr<IHTMLElement> getElementById(const QString &) const override { return nullptr; }
    std::unique_ptr<IHTMLElement> documentElement() const override { return nullptr; }

    SpyCommands commands;
    SpyWindow window;
    SpyDispatch script;
    QString designModeText = QStringLiteral("Off");
    QString charsetText = QStringLiteral("UTF-8");
    QStringList enabledCommands;
    QString pending;
    // The pages written, one per close.
    QStringList written;
};

class SpyControl : public WebBrowserControl, public IUrlHistoryStg {
public:
    SpyControl(QWidget *container, IOleClientSite *site) : m_site(site), m_view(new QWidget(container))
    {
        setWindowClassName(m_view, WindowClass::ShellDocObjectView);
    }

    // The page arrives: a document, and the document window inside the view.
    void loadDocument()
    {
        document = std::make_unique<SpyDocument>();
        if (!m_documentWindow) {
            m_documentWindow = new QWidget(m_view);
            setWindowClassName(m_documentWindow, WindowClass::InternetExplorerServer);
        }
    }

    // IWebBrowser2
    void Navigate(const QString &URL, const QVariant &Flags = {}) override
    {
        navigations << URL;
        navigateCalls.push_back({URL, Flags, {}, {}, {}});
    }
    void Navigate2(const QVariant &URL, const QVariant &Flags, const QVariant &TargetFrameName, const QVariant &PostData,
                   const QVariant &Headers) override
    {
        navigations << URL.toString();
        navigateCalls.push_back({URL, Flags, TargetFrameName, PostData, Headers});
    }
    // IUrlHistoryStg
    HRESULT DeleteUrl(const QString &URL, std::uint32_t) override
    {
        deletedFromHistory << URL;
        return S_OK;
    }
    void GoBack() override {}
    void GoForward() override {}
    void Refresh() override {}
    void Refresh2(int level) override { refreshes.push_back(level); }
    void Stop() override {}
    QString LocationURL() const override { return locationUrl; }
    QString LocationName() const override { return locationName; }
    int ReadyState() const override
    {
        if (loading)
            return READYSTATE_LOADING;
        return document ? READYSTATE_COMPLETE : READYSTATE_UNINITIALIZED;
    }
    bool Busy() const override { return loading; }
    bool Silent() const override { return silent; }
    void SetSilent(bool v) override { silent = v; }
    bool Offline() const override { return false; }
    void SetOffline(bool) override {}
    bool RegisterAsDropTarget() const override { return acceptDrops; }
    void SetRegisterAsDropTarget(bool v) override { acceptDrops = v; }
    bool RegisterAsBrowser() const override { return false; }
    void SetRegisterAsBrowser(bool) override {}
    IHTMLDocument2 *Document() override { return document.get(); }
    HRESULT ExecWB(std::uint32_t, std::uint32_t, const QVariant &, QVariant *) override { return OLECMDERR_E_NOTSUPPORTED; }
    std::uint32_t QueryStatusWB(std::uint32_t) override { return 0; }

    // IOleControl: told of a change, the control reads the property again.
    HRESULT OnAmbientPropertyChange(int dispID) override
    {
        announced.push_back(dispID);
        if (auto *dispatch = m_site ? dynamic_cast<IDispatch *>(m_site) : nullptr) {
            DISPPARAMS params;
            QVariant value;
            if (dispatch->Invoke(dispID, QUuid(), 0, DISPATCH_PROPERTYGET, params, &value, nullptr, nullptr) == S_OK)
                ambient[dispID] = value;
            else
                ambient.remove(dispID);
        }
        return S_OK;
    }

    // IOleObject: records the verb and whether the host let the page take the focus then.
    HRESULT DoVerb(int iVerb, const TMsg *, IOleClientSite *, int, QWidget *, const QRect *) override
    {
        verbs.push_back(iVerb);
        if (auto *protect = m_site ? dynamic_cast<IProtectFocus *>(m_site) : nullptr) {
            bool allow = false;
            protect->AllowFocusChange(allow);
            focusAllowedDuringVerb.push_back(allow);
        }
        return S_OK;
    }

    // WebBrowserControl
    QWidget *ViewWindow() const override { return m_view; }
    QWidget *DocumentWindow() const override { return m_documentWindow; }
    HRESULT RegisterDragDrop(IDropTarget *target) override
    {
        registeredTargets.push_back(target);
        return S_OK;
    }
    HRESULT RevokeDragDrop() override
    {
        ++revokes;
        return S_OK;
    }
    // The control's own menu, its items named by command.
    std::unique_ptr<QMenu> CreateContextMenu(std::uint32_t kind) override
    {
        menuKinds.push_back(kind);
        auto menu = std::make_unique<QMenu>(m_view);
        // The engine's menu has items only when the engine asked for one.
        if (!menuAsked)
            return menu;
        for (const auto &[text, id] : {std::pair{"Back", IDM_GOBACKWARD}, std::pair{"Forward", IDM_GOFORWARD},
                                       std::pair{"Copy", IDM_COPY}, std::pair{"Select all", IDM_SELECTALL},
                                       std::pair{"View source", IDM_VIEWSOURCE}})
            menu->addAction(QString::fromLatin1(text))->setData(id);
        lastMenu = menu.get();
        return menu;
    }
    void Close() override { m_site = nullptr; }

    std::unique_ptr<SpyDocument> document;
    // The page's address and title, as the test sets them.
    QString locationUrl;
    QString locationName;
    QStringList navigations;
    // Every navigation with its arguments; Navigate leaves the last three empty.
    struct NavigateCall {
        QVariant url, flags, target, postData, headers;
    };
    std::vector<NavigateCall> navigateCalls;
    QStringList deletedFromHistory;
    std::vector<int> refreshes;
    std::vector<int> announced;
    QHash<int, QVariant> ambient;
    std::vector<int> verbs;
    std::vector<bool> focusAllowedDuringVerb;
    std::vector<IDropTarget *> registeredTargets;
    int revokes = 0;
    std::vector<std::uint32_t> menuKinds;
    QMenu *lastMenu = nullptr;
    bool menuAsked = true; // whether the engine asked for a menu
    bool silent = false;
    bool acceptDrops = true;
    // A page on its way, until the test says it has come.
    bool loading = false;

private:
    IOleClientSite *m_site;
    QWidget *m_view;
    QWidget *m_documentWindow = nullptr;
};

// Makes a component of type B over a spy control; `spy` points to it afterwards.
template <class B>
std::unique_ptr<B> makeWithSpy(SpyControl *&spy, QWidget *parent = nullptr)
{
    return std::make_unique<B>(parent, [&spy](QWidget *container, IOleClientSite *site, DWebBrowserEvents2 *) {
        auto control = std::make_unique<SpyControl>(container, site);
        spy = control.get();
        return control;
    });
}

} // namespace vocab::test
