#pragma once

// Routines of the browser tools that run script in the loaded page (a named
// function of the page called with typed arguments, or script text of a
// language), that turn a text into the bytes a navigation posts, and that
// read the version of the browser engine the way the platform's browser
// tells it.

#include <QObject>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <vector>

namespace vocab {

class IDispatch;
class THostedBrowser;

// The kinds of value an open argument list carries.
enum TVarType : std::uint8_t {
    vtInteger = 0,
    vtBoolean = 1,
    vtChar = 2,
    vtExtended = 3,
    vtString = 4,
    vtPointer = 5,
    vtPChar = 6,
    vtObject = 7,
    vtClass = 8,
    vtWideChar = 9,
    vtPWideChar = 10,
    vtAnsiString = 11,
    vtCurrency = 12,
    vtVariant = 13,
    vtInterface = 14,
    vtWideString = 15,
    vtInt64 = 16,
    vtUnicodeString = 17,
};

// One argument of an open list: its kind and its value. Made implicitly
// from the plain values ({1, true, 2.5, u"text"_qs}); the other kinds have
// their own makers.
struct TVarRec {
    TVarRec(int v) : VType(vtInteger), Value(v) {}
    TVarRec(bool v) : VType(vtBoolean), Value(v) {}
    TVarRec(double v) : VType(vtExtended), Value(v) {}
    TVarRec(long v) : VType(vtInt64), Value(static_cast<qint64>(v)) {}
    TVarRec(long long v) : VType(vtInt64), Value(static_cast<qint64>(v)) {}
    TVarRec(char v) : VType(vtChar), Value(QString(QChar::fromLatin1(v))) {}
    TVarRec(QChar v) : VType(vtWideChar), Value(QString(v)) {}
    TVarRec(const char *v) : VType(vtPChar), Value(QString::fromUtf8(v)) {}
    TVarRec(const QString &v) : VType(vtUnicodeString), Value(v) {}
    TVarRec(QObject *v) : VType(vtObject), Value(QVariant::fromValue(v)) {}
    // The caller's variant, by reference.
    TVarRec(QVariant &v) : VType(vtVariant), VVariant(&v) {}

    // A currency amount in ten-thousandths (12345 is 1.2345).
    static TVarRec Currency(qint64 tenThousandths) { return Of(vtCurrency, tenThousandths); }
    // Any kind with a value, as an argument list built elsewhere holds it.
    static TVarRec Of(TVarType type, const QVariant &value = {})
    {
        TVarRec rec(0);
        rec.VType = type;
        rec.Value = value;
        return rec;
    }

    TVarType VType;
    QVariant Value;
    QVariant *VVariant = nullptr;
};

using TVarRecList = std::vector<TVarRec>;

namespace HbTools {

// Calls the method (or reads the property) `MethodName` of an automation
// object with the arguments, and answers its result. Throws AppError with
// "This object does not support this method" for a name the object does not
// know, "Unsupported type for Parameter with Index %d" for an argument of a
// kind that cannot be passed (an untyped pointer, an object, a class, an
// interface; the index counts from the last argument, 0 being the last), and
// "Method call unsuccessful. %s (%s)." with the error's description and
// source when the call fails.
QVariant InvokeDispatchMethod(IDispatch *Obj, const QString &MethodName, const TVarRecList &Params);

// A function of the page called with the arguments; empty without a
// document. Throws as InvokeDispatchMethod does.
QVariant ExecScriptEx(THostedBrowser &WB, const QString &FunctionName, const TVarRecList &Params);

// Script text of a language run in the page, waiting until it has run;
// nothing without a document. A failure of the script itself, or a language
// the page cannot run, is kept to itself.
void ExecScript(THostedBrowser &WB, const QString &Script, const QString &Language);

// The text as post data: empty for an empty text, else its bytes, one per
// character ("?" for a character above 255).
QVariant StringToPostData(const QString &Text);

// The file version of the platform's browser, and its part before the first
// ".", the major version.
QString GetIEFileVersion();
QString GetIEMajorVersion();
// The major version of a version text: the part before its first ".",
// the text whole when it has none.
QString MajorVersionOf(const QString &FileVersion);

} // namespace HbTools
} // namespace vocab
