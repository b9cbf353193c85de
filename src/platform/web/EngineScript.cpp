#include "EngineScript.h"

#include "EngineDocument.h"
#include "OleError.h"
#include "ScriptRunner.h"

#include <QWebEnginePage>

namespace vocab {

namespace {

const QString NoAnswer = QStringLiteral("Страница не ответила на вызов");

// Script functions shared by the calls below, all run in the page's world.
// lookup: a global of the window by name, also one declared with let or
// const, which the window object does not carry; the name is evaluated only
// when it is a plain identifier, so that no text of it runs as script.
// plain: a value as data that may leave the page.
const QString Helpers = QStringLiteral(
    "function lookup(w,n){if(n in w)return {found:true,v:w[n]};"
    "if(/^[A-Za-z_$][A-Za-z0-9_$]*$/.test(n)){try{return {found:true,v:w.eval(n)};}catch(e){}}"
    "return {found:false};}"
    "function plain(w,v){if(typeof v==='function'||typeof v==='symbol')return undefined;"
    "if(typeof v==='bigint')return Number(v);"
    "if(v&&typeof v==='object'){if(v===w||(w.Node&&v instanceof w.Node)||(w.Window&&v instanceof w.Window))return undefined;"
    "try{return JSON.parse(JSON.stringify(v));}catch(e){return undefined;}}"
    "return v;}"
    "function failure(e){return {ok:false,d:String(e&&e.message!==undefined?e.message:e),s:String(e&&e.name!==undefined?e.name:'')};}");

bool isJavaScript(const QString &language)
{
    static const QStringList Names{QString(), QStringLiteral("javascript"), QStringLiteral("jscript"),
                                   QStringLiteral("ecmascript")};
    return Names.contains(language.trimmed().toLower());
}

} // namespace

HRESULT EngineScriptObject::GetTypeInfoCount(int &pctinfo)
{
    pctinfo = 0;
    return S_OK;
}

HRESULT EngineScriptObject::GetTypeInfo(int, int, ITypeInfo *&ppTInfo)
{
    ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT EngineScriptObject::GetIDsOfNames(const QUuid &, const QStringList &rgszNames, int, QList<int> &rgDispId)
{
    rgDispId.clear();
    if (rgszNames.isEmpty())
        return DISP_E_UNKNOWNNAME;
    const QString &name = rgszNames.first();
    const QString script = QStringLiteral("(function(n){%1try{return lookup(%2,n).found;}catch(e){return false;}})(%3)")
                               .arg(Helpers, m_window, jsString(name));
    bool answered = false;
    const QVariant found = m_scripts.evaluateInPage(script, &answered);
    if (!answered)
        return E_FAIL;
    if (!found.toBool()) {
        rgDispId.append(DISPID_UNKNOWN);
        return DISP_E_UNKNOWNNAME;
    }
    qsizetype index = m_names.indexOf(name);
    if (index < 0) {
        m_names.append(name);
        index = m_names.size() - 1;
    }
    rgDispId.append(static_cast<int>(index) + 1);
    return S_OK;
}

HRESULT EngineScriptObject::Invoke(int dispIdMember, const QUuid &, int, std::uint16_t wFlags, DISPPARAMS &pDispParams,
                                   QVariant *pVarResult, EXCEPINFO *pExcepInfo, std::uint32_t *)
{
    if (dispIdMember < 1 || dispIdMember > m_names.size())
        return DISP_E_MEMBERNOTFOUND;
    if (!(wFlags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
        return DISP_E_MEMBERNOTFOUND;
    // The script takes its arguments first one first.
    QVariantList args;
    args.reserve(pDispParams.args.size());
    for (auto it = pDispParams.args.crbegin(); it != pDispParams.args.crend(); ++it)
        args.append(*it);
    const QString script = QStringLiteral(
                               "(function(n,a){%1try{var w=%2,r=lookup(w,n);"
                               "if(!r.found)throw new w.ReferenceError(n+' is not defined');"
                               "var v;if(typeof r.v==='function'&&(%3))v=r.v.apply(w,a);"
                               "else if(a.length===0&&(%4))v=r.v;"
                               "else throw new w.TypeError(n+' is not a function');"
                               "return {ok:true,v:plain(w,v)};}catch(e){return failure(e);}})(%5,%6)")
                               .arg(Helpers, m_window, (wFlags & DISPATCH_METHOD) ? QStringLiteral("true") : QStringLiteral("false"),
                                    (wFlags & DISPATCH_PROPERTYGET) ? QStringLiteral("true") : QStringLiteral("false"),
                                    jsString(m_names.at(dispIdMember - 1)), jsArray(args));
    bool answered = false;
    const QVariantMap answer = m_scripts.evaluateInPage(script, &answered).toMap();
    if (!answered || answer.isEmpty()) {
        if (pExcepInfo)
            pExcepInfo->bstrDescription = NoAnswer;
        return E_FAIL;
    }
    if (!answer.value(QStringLiteral("ok")).toBool()) {
        if (pExcepInfo) {
            pExcepInfo->wCode = 0;
            pExcepInfo->bstrDescription = answer.value(QStringLiteral("d")).toString();
            pExcepInfo->bstrSource = answer.value(QStringLiteral("s")).toString();
        }
        return DISP_E_EXCEPTION;
    }
    if (pVarResult)
        *pVarResult = answer.value(QStringLiteral("v"));
    return S_OK;
}

QVariant EngineWindow::execScript(const QString &code, const QString &language)
{
    if (!isJavaScript(language))
        throw EOleException(E_NOTIMPL, QStringLiteral("Язык сценариев «%1» здесь недоступен").arg(language));
    // An indirect eval runs the text at the window's global level: what it
    // declares becomes a global of the page. The text goes in as data.
    const QString script = QStringLiteral("(function(c){%1try{var w=%2;return {ok:true,v:plain(w,w.eval(c))};}"
                                          "catch(e){return failure(e);}})(%3)")
                               .arg(Helpers, m_window, jsString(code));
    bool answered = false;
    const QVariantMap answer = m_scripts.evaluateInPage(script, &answered).toMap();
    if (!answered || answer.isEmpty())
        throw EOleException(E_FAIL, NoAnswer);
    if (!answer.value(QStringLiteral("ok")).toBool())
        throw EOleException(DISP_E_EXCEPTION, answer.value(QStringLiteral("d")).toString());
    return answer.value(QStringLiteral("v"));
}

} // namespace vocab
