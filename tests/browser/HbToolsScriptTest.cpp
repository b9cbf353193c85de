// The script routines that need no engine: the arguments of a dispatch call,
// its errors, the gates of the script calls, post data and the version.

#include "HbToolsScript.h"
#include "HostedBrowser.h"
#include "SpyControl.h"
#include "TestSupport.h"

using namespace vocab;
using namespace vocab::test;

TEST(HbToolsInvokeDispatchMethod, PassesTheArgumentsLastFirstAsTheirTypes)
{
    SpyDispatch object;
    object.add(QStringLiteral("f"), {QStringLiteral("done"), {}, {}});
    QVariant callers(QStringLiteral("by reference"));
    const QVariant result = HbTools::InvokeDispatchMethod(
        &object, QStringLiteral("f"),
        {1, true, 2.5, 'c', QChar(u'ж'), "ansi", QStringLiteral("wide"), TVarRec::Currency(12345), 9007199254740993LL, callers});
    EXPECT_EQ(result, QVariant(QStringLiteral("done")));
    ASSERT_EQ(object.calls.size(), 1u);
    EXPECT_EQ(object.calls[0].flags, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    const QVariantList &args = object.calls[0].args;
    ASSERT_EQ(args.size(), 10);
    const QVariantList expected{callers,       9007199254740993LL,      1.2345,        QStringLiteral("wide"),
                                QStringLiteral("ansi"), QStringLiteral("ж"), QStringLiteral("c"), 2.5, true, 1};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(args[i], expected[i]) << i;
        EXPECT_EQ(args[i].metaType(), expected[i].metaType()) << i;
    }
}

TEST(HbToolsInvokeDispatchMethod, RaisesItsThreeErrorsWithTheirTexts)
{
    SpyDispatch object;
    object.add(QStringLiteral("f"), {1, {}, {}});
    object.add(QStringLiteral("broken"), {{}, QStringLiteral("boom"), QStringLiteral("TypeError")});
    EXPECT_EQ(errorOf([&] { HbTools::InvokeDispatchMethod(&object, QStringLiteral("g"), {}); }),
              QStringLiteral("This object does not support this method"));
    EXPECT_EQ(errorOf([&] { HbTools::InvokeDispatchMethod(nullptr, QStringLiteral("f"), {}); }),
              QStringLiteral("This object does not support this method"));
    EXPECT_EQ(errorOf([&] { HbTools::InvokeDispatchMethod(&object, QStringLiteral("broken"), {1}); }),
              QStringLiteral("Method call unsuccessful. boom (TypeError)."));

    // The index counts from the last argument; nothing is called.
    QObject someObject;
    const struct {
        TVarRecList args;
        int index;
    } cases[] = {
        {{1, &someObject, 3}, 1},
        {{TVarRec::Of(vtInterface), 2, 3}, 2},
        {{1, 2, TVarRec::Of(vtPointer)}, 0},
        {{TVarRec::Of(vtClass)}, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(errorOf([&] { HbTools::InvokeDispatchMethod(&object, QStringLiteral("f"), c.args); }),
                  QStringLiteral("Unsupported type for Parameter with Index %1").arg(c.index));
    EXPECT_EQ(object.calls.size(), 1u) << "only the broken member was called";
}

TEST(HbToolsScriptCalls, NeedADocumentAndKeepTheScriptsOwnFailuresToThemselves)
{
    SpyControl *spy = nullptr;
    auto browser = makeWithSpy<THostedBrowser>(spy);
    EXPECT_FALSE(browser->ExecScriptEx(QStringLiteral("f"), {1}).isValid()) << "no document: empty";
    browser->ExecScript(QStringLiteral("x=1"), QStringLiteral("JavaScript"));

    spy->loadDocument();
    SpyDocument &doc = *spy->document;
    doc.script.add(QStringLiteral("f"), {42, {}, {}});
    EXPECT_EQ(browser->ExecScriptEx(QStringLiteral("f"), {}), QVariant(42));
    EXPECT_EQ(errorOf([&] { browser->ExecScriptEx(QStringLiteral("g"), {}); }),
              QStringLiteral("This object does not support this method"));

    doc.window.scriptError = QStringLiteral("syntax error");
    browser->ExecScript(QStringLiteral("x=("), QStringLiteral("JavaScript"));
    ASSERT_EQ(doc.window.scripts.size(), 1u);
    EXPECT_EQ(doc.window.scripts[0], std::pair(QStringLiteral("x=("), QStringLiteral("JavaScript")));
}

TEST(HbToolsStringToPostData, IsOneBytePerCharacterOrEmpty)
{
    const QVariant data = HbTools::StringToPostData(QStringLiteral("a=1&b=2"));
    EXPECT_EQ(data.metaType(), QMetaType::fromType<QByteArray>());
    EXPECT_EQ(data.toByteArray(), QByteArray("a=1&b=2"));
    EXPECT_FALSE(HbTools::StringToPostData(QString()).isValid()) << "an empty variant, not an empty array";
    EXPECT_EQ(HbTools::StringToPostData(QStringLiteral("é\r\nж")).toByteArray(), QByteArray("\xE9\r\n?"));
}

TEST(HbToolsIEVersion, TheMajorVersionIsThePartBeforeTheFirstDot)
{
    const struct {
        const char *version;
        const char *major;
    } cases[] = {{"8.00.6001.18702", "8"}, {"108", "108"}, {"", ""}, {".5", ""}, {"11.0", "11"}};
    for (const auto &c : cases)
        EXPECT_EQ(HbTools::MajorVersionOf(QLatin1String(c.version)), QLatin1String(c.major)) << c.version;
    // No browser library carries a version here.
    EXPECT_EQ(HbTools::GetIEFileVersion(), QString());
    EXPECT_EQ(HbTools::GetIEMajorVersion(), QString());
}
