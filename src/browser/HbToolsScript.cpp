#include "HbToolsScript.h"

#include "AppError.h"
#include "HostedBrowser.h"
#include "HostInterfaces.h"

namespace vocab::HbTools {

namespace {

// The value an argument takes in a dispatch call; throws for a kind that has none.
QVariant dispatchValue(const TVarRec &arg, int index)
{
    switch (arg.VType) {
    case vtInteger:
        return arg.Value.toInt();
    case vtBoolean:
        return arg.Value.toBool();
    case vtExtended:
        return arg.Value.toDouble();
    case vtChar:
    case vtWideChar:
    case vtString:
    case vtPChar:
    case vtPWideChar:
    case vtAnsiString:
    case vtWideString:
    case vtUnicodeString:
        return arg.Value.toString();
    case vtCurrency:
        // The page's numbers have no currency type: the amount itself.
        return static_cast<double>(arg.Value.toLongLong()) / 10000.0;
    case vtInt64:
        // Beyond 2^53 the page's numbers lose the last digits.
        return arg.Value.toLongLong();
    case vtVariant:
        // Passed by its value only: the page cannot write into the
        // caller's variant across the engine's boundary.
        return arg.VVariant ? *arg.VVariant : arg.Value;
    case vtPointer:
    case vtObject:
    case vtClass:
    case vtInterface:
        break;
    }
    throw AppError(QStringLiteral("Unsupported type for Parameter with Index %1").arg(index));
}

} // namespace

QVariant InvokeDispatchMethod(IDispatch *Obj, const QString &MethodName, const TVarRecList &Params)
{
    QVariant result = false;
    QList<int> ids;
    if (!Obj || Obj->GetIDsOfNames(QUuid(), {MethodName}, 0, ids) != S_OK || ids.isEmpty())
        throw AppError(QStringLiteral("This object does not support this method"));
    DISPPARAMS params;
    const int count = static_cast<int>(Params.size());
    params.args.reserve(count);
    // Entry i is the argument i from the end, as the call takes them.
    for (int i = 0; i < count; ++i)
        params.args.append(dispatchValue(Params[static_cast<std::size_t>(count - 1 - i)], i));
    EXCEPINFO error;
    const HRESULT hr = Obj->Invoke(ids.first(), QUuid(), 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, params, &result,
                                   &error, nullptr);
    if (hr != S_OK)
        throw AppError(QStringLiteral("Method call unsuccessful. %1 (%2).").arg(error.bstrDescription, error.bstrSource));
    return result;
}

QVariant ExecScriptEx(THostedBrowser &WB, const QString &FunctionName, const TVarRecList &Params)
{
    IHTMLDocument2 *doc = nullptr;
    if (!WB.DocumentLoaded(doc))
        return {};
    IDispatch *script = doc->Script();
    if (!script)
        return {};
    return InvokeDispatchMethod(script, FunctionName, Params);
}

void ExecScript(THostedBrowser &WB, const QString &Script, const QString &Language)
{
    IHTMLDocument2 *doc = nullptr;
    if (!WB.DocumentLoaded(doc))
        return;
    IHTMLWindow2 *window = doc->parentWindow();
    if (!window)
        return;
    // A language the page cannot run (VBScript among them: the engine has
    // only JavaScript) fails as a script error does, and is dropped with it.
    try {
        window->execScript(Script, Language);
    } catch (const std::exception &) {
    }
}

QVariant StringToPostData(const QString &Text)
{
    if (Text.isEmpty())
        return {};
    return Text.toLatin1();
}

// There is no platform browser here whose library carries a version
// resource, so the version reads as unreadable: empty.
QString GetIEFileVersion()
{
    return {};
}

QString MajorVersionOf(const QString &FileVersion)
{
    const qsizetype dot = FileVersion.indexOf(u'.');
    return dot < 0 ? FileVersion : FileVersion.left(dot);
}

QString GetIEMajorVersion()
{
    return MajorVersionOf(GetIEFileVersion());
}

} // namespace vocab::HbTools
