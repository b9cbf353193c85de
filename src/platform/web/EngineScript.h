#pragma once

// The script object of a page's window: the page's own global functions and
// variables, reached by late binding in the page's own script world (the
// program's reads run in a world of their own, where the page's functions
// cannot be seen). A name is looked up when its id is asked for; a call
// hands the arguments over as data (JSON) and brings back plain data.
//
// What cannot cross from the page: functions, the page's objects (elements,
// windows) and anything else that is no plain data come back empty; an
// argument passed by reference is passed by its value, so the page cannot
// change the caller's variable. A page whose security policy forbids eval
// still has its functions called; only globals declared with let or const
// are then out of reach.

#include "HostInterfaces.h"

#include <QStringList>

namespace vocab {

class PageScripts;

class EngineScriptObject final : public IDispatch {
public:
    // `window` is the script expression of the window whose globals are reached.
    EngineScriptObject(const PageScripts &scripts, QString window) : m_scripts(scripts), m_window(std::move(window)) {}

    HRESULT GetTypeInfoCount(int &pctinfo) override;
    HRESULT GetTypeInfo(int iTInfo, int lcid, ITypeInfo *&ppTInfo) override;
    // The id of the first name, when the page has a global of that name;
    // DISP_E_UNKNOWNNAME when it has none, E_FAIL when the page gives no answer.
    HRESULT GetIDsOfNames(const QUuid &riid, const QStringList &rgszNames, int lcid, QList<int> &rgDispId) override;
    // Calls the global of the id with the arguments (the last one first, as
    // a dispatch call takes them); a global that is no function is read when
    // no arguments are given. A script error answers DISP_E_EXCEPTION with
    // the error's message as the description and its name as the source.
    HRESULT Invoke(int dispIdMember, const QUuid &riid, int lcid, std::uint16_t wFlags, DISPPARAMS &pDispParams,
                   QVariant *pVarResult, EXCEPINFO *pExcepInfo, std::uint32_t *puArgErr) override;

private:
    const PageScripts &m_scripts;
    QString m_window;
    // Dispatch ids are positions in this list, from 1.
    QStringList m_names;
};

} // namespace vocab
