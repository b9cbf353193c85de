// The browser tools over the real engine: pages loaded and saved, frames
// reached, read and written, the selection and the edit commands, the
// document's source, links, scrolling, cookie and character set, and
// pictures of the view.

#include "BrowserEngineFixture.h"

#include "MessageBoxes.h"
#include "OleError.h"
#include "WebPage.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QImage>
#include <QStringEncoder>
#include <QTcpServer>
#include <QWebEnginePage>
#include <QWebEngineSettings>

using namespace vocab;
using namespace vocab::test;

namespace {

class BrowserTools : public BrowserEngineTest {
protected:
    QString frameTitle(const QString &path)
    {
        const DocumentRef doc = Emb->NavigateToFrame(path);
        return doc ? doc->title() : QStringLiteral("(none)");
    }
};

// Two frames of the page's own origin, the first with a frame inside, and
// one of another origin.
QString framesetPage(const LocalHttpServer &server)
{
    return QStringLiteral("<html><head><title>top</title></head><body>"
                          "<iframe id=f0 srcdoc=\"<title>first</title><p>один</p><iframe srcdoc='<title>inner</title>'></iframe>\"></iframe>"
                          "<iframe id=f1 srcdoc=\"<title>second</title><a href='http://b.example/'>b</a>\"></iframe>"
                          "<iframe id=f2 src='%1'></iframe></body></html>")
        .arg(server.url().toString());
}

} // namespace

TEST_F(BrowserTools, APageLoadedIsSavedBackWithEveryCharacter)
{
    const QString text = QStringLiteral("Берёза ʃ 😀");
    ASSERT_EQ(Emb->LoadFromStrings({QStringLiteral("<p id=x>") + text + QStringLiteral("</p>")}, true), S_OK);
    ASSERT_TRUE(Emb->Wait(0));
    QStringList lines;
    ASSERT_EQ(Emb->SaveToStrings(lines), S_OK);
    const QString saved = lines.join(u'\n');
    EXPECT_TRUE(saved.contains(text)) << saved.toStdString();
    EXPECT_TRUE(saved.contains(QLatin1String("bgcolor=\"#ffffff\""))) << "the tags were added";

    const QString file = dir.filePath(QStringLiteral("page.htm"));
    ASSERT_EQ(Emb->SaveToFile(file), S_OK);
    EXPECT_TRUE(QString::fromUtf8(readBytes(file)).contains(text));
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    ASSERT_EQ(Emb->SaveToStream(stream), S_OK);
    EXPECT_EQ(stream.data(), readBytes(file));

    load(QStringLiteral("<p>другая</p>"));
    ASSERT_EQ(Emb->LoadFromFile(file), S_OK);
    ASSERT_TRUE(Emb->Wait(0));
    EXPECT_EQ(Emb->Doc3()->getElementById(QStringLiteral("x"))->innerText(), text);
    EXPECT_THROW(Emb->LoadFromFile(dir.filePath(QStringLiteral("missing.htm"))), FileError);
    EXPECT_EQ(Emb->SaveToFile(dir.filePath(QStringLiteral("no/such/folder/x.htm"))), E_FAIL);
}

TEST_F(BrowserTools, WhatAPageOrAnAddressGivesIsShownAsPlainText)
{
    std::vector<MessageBoxRequest> shown;
    const auto previous = setMessageBoxResponder([&](const MessageBoxRequest &r) {
        shown.push_back(r);
        return IDOK;
    });
    load(QStringLiteral("<p>&lt;b&gt;bold&lt;/b&gt;</p><button id=b onclick=\"alert('<i>hi</i>')\">x</button>"));
    Emb->ViewPageSourceText();
    script(QStringLiteral("d.getElementById('b').click();return true;"));
    EXPECT_TRUE(waitUntil([&] { return shown.size() == 2; }));
    const QString missing = dir.filePath(QStringLiteral("<b>missing</b>.bin"));
    Emb->GoDownloadMaskedFile(missing, dir.filePath(QStringLiteral("copy.bin")), true);
    writeBytes(missing, "x");
    Emb->GoDownloadMaskedFile(missing, dir.filePath(QStringLiteral("<i>copy</i>.bin")), true);
    setMessageBoxResponder(previous);
    ASSERT_EQ(shown.size(), 4u);
    const char *what[] = {"the page's text", "the page's alert", "a failed download", "a download"};
    for (std::size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(shown[i].format, Qt::PlainText) << what[i] << ": " << shown[i].text.toStdString();
    EXPECT_TRUE(shown[0].text.contains(QLatin1String("<b>bold</b>")));
    EXPECT_EQ(shown[1].text, QStringLiteral("<i>hi</i>"));
}

TEST_F(BrowserTools, AMenuTheEngineDidNotAskForIsNotShown)
{
    Emb->SetDisabledPopupMenuItems({rcsViewSource});
    load(QStringLiteral("<p>text</p>"));
    const QPoint at = Emb->mapToGlobal(QPoint(20, 20));
    EXPECT_EQ(Emb->ShowContextMenu(CONTEXT_MENU_DEFAULT, &at, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(BrowserTools, TextLoadedInAnEncodingOfOneByteACharacterKeepsItsCharacters)
{
    Emb->SetEncoding(QStringConverter::Latin1);
    load(QStringLiteral("<p id=x>été</p>"));
    EXPECT_EQ(Emb->Doc3()->getElementById(QStringLiteral("x"))->innerText(), QStringLiteral("été"));
    ASSERT_EQ(Emb->LoadFromStrings({QStringLiteral("<p id=y>naïve</p>")}), S_OK);
    ASSERT_TRUE(Emb->Wait(0));
    EXPECT_EQ(Emb->Doc3()->getElementById(QStringLiteral("y"))->innerText(), QStringLiteral("naïve"));
}

TEST_F(BrowserTools, HTMLCodeOfOneAddressLineGoesThere)
{
    Emb->SetHTMLCode({QStringLiteral("ABOUT:blank")});
    ASSERT_TRUE(Emb->Wait(0));
    EXPECT_EQ(Emb->LocationURL(), QStringLiteral("about:blank"));
    Emb->SetHTMLCode({QStringLiteral("about:blank"), QStringLiteral("<title>page</title>")});
    ASSERT_TRUE(Emb->Wait(0));
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("page"));
}

TEST_F(BrowserTools, FramesAreReachedByIndexDownToTheNestedOnes)
{
    LocalHttpServer server;
    load(framesetPage(server));
    ASSERT_TRUE(waitUntil([&] { return frameTitle(QStringLiteral("0,0")) == QLatin1String("inner"); }));
    ASSERT_TRUE(waitUntil([&] { return frameTitle(QStringLiteral("1")) == QLatin1String("second"); }));
    EXPECT_EQ(Emb->FrameCount(), 3);
    EXPECT_EQ(Emb->FrameCountFromDocument(Emb->Document()), 3);
    EXPECT_EQ(frameTitle(QString()), QStringLiteral("top"));
    EXPECT_EQ(frameTitle(QStringLiteral("0")), QStringLiteral("first"));
    EXPECT_EQ(frameTitle(QStringLiteral("2")), QStringLiteral("(none)")) << "another origin";
    EXPECT_EQ(frameTitle(QStringLiteral("9")), QStringLiteral("(none)"));
    EXPECT_EQ(Emb->GetFrame(3), nullptr);
    ASSERT_NE(Emb->GetFrame(2), nullptr);
    EXPECT_EQ(Emb->GetFrame(2)->Document(), nullptr);
    EXPECT_EQ(Emb->GetFrameFromDocument(Emb->NavigateToFrame(QStringLiteral("0")).get(), 0)->Document()->title(),
              QStringLiteral("inner"));

    QStringList lines;
    ASSERT_EQ(Emb->SaveFrameToStrings(1, lines), S_OK);
    EXPECT_TRUE(lines.join(u'\n').contains(QLatin1String("http://b.example/")));
    EXPECT_EQ(Emb->SaveFrameToStrings(2, lines), S_FALSE);

    ASSERT_EQ(Emb->LoadFrameFromStrings(1, {QStringLiteral("<title>new</title><p>новая</p>")}), S_OK);
    EXPECT_TRUE(waitUntil([&] { return frameTitle(QStringLiteral("1")) == QLatin1String("new"); }));
    EXPECT_EQ(frameTitle(QStringLiteral("0")), QStringLiteral("first"));
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("top"));
    EXPECT_EQ(Emb->LoadFrameFromStrings(2, {QStringLiteral("<p>x")}), S_FALSE);
}

TEST_F(BrowserTools, LinksAreListedPageByPageSkippingFramesOfAnotherOrigin)
{
    LocalHttpServer server;
    load(framesetPage(server));
    ASSERT_TRUE(waitUntil([&] { return frameTitle(QStringLiteral("0,0")) == QLatin1String("inner"); }));
    ASSERT_TRUE(waitUntil([&] { return frameTitle(QStringLiteral("1")) == QLatin1String("second"); }));
    QStringList links{QStringLiteral("old")};
    Emb->ViewPageLinksToStrings(links);
    const QString none = QStringLiteral("No Links found in the page body");
    EXPECT_EQ(links, QStringList({none, none, none, QStringLiteral("http://b.example/")}));

    load(QStringLiteral("<a href='one.htm'>one</a>"));
    Emb->ViewPageLinksToStrings(links);
    ASSERT_EQ(links.size(), 1);
    EXPECT_TRUE(links.first().startsWith(QLatin1String("file:///")) && links.first().endsWith(QLatin1String("/one.htm")))
        << links.first().toStdString();
}

TEST_F(BrowserTools, TheSelectionIsReadFromThePageOrFromTheFrameWithTheFocus)
{
    load(QStringLiteral("<div id=ed contenteditable>Берёза <b>белая</b></div>"
                        "<iframe id=f0 srcdoc='<p>в рамке</p>'></iframe>"));
    ASSERT_TRUE(waitUntil([&] { return frameTitle(QStringLiteral("0")) != QLatin1String("(none)"); }));
    EXPECT_EQ(Emb->GetSelectedText(false, true), QString()) << "nothing selected";
    EXPECT_FALSE(Emb->Copy()) << "nothing to copy";

    Emb->SetFocusToDoc();
    Emb->Doc3()->getElementById(QStringLiteral("ed"))->focus();
    ASSERT_TRUE(Emb->SelectAll());
    EXPECT_EQ(Emb->GetSelectedText(false, true), QStringLiteral("Берёза белая"));
    EXPECT_EQ(Emb->GetSelectedText(true, true), QStringLiteral("Берёза <b>белая</b>"));
    EXPECT_EQ(Emb->GetSelLength(true), 12);
    EXPECT_TRUE(Emb->IsCommandEnabled(QStringLiteral("Bold")));
    EXPECT_EQ(Emb->QueryCommandValue(QStringLiteral("Bold")), QVariant(QStringLiteral("false")));
    EXPECT_EQ(Emb->GetActiveElement(nullptr)->outerHTML().left(12), QStringLiteral("<div id=\"ed\""));
    ASSERT_TRUE(Emb->Copy());
    EXPECT_TRUE(waitUntil([] { return QApplication::clipboard()->text() == QStringLiteral("Берёза белая"); }));

    ASSERT_TRUE(Emb->Delete());
    EXPECT_TRUE(waitUntil([&] { return Emb->Doc3()->getElementById(QStringLiteral("ed"))->innerText().trimmed().isEmpty(); }));
    ASSERT_TRUE(Emb->Undo());
    EXPECT_TRUE(waitUntil([&] { return Emb->Doc3()->getElementById(QStringLiteral("ed"))->innerText() == QStringLiteral("Берёза белая"); }));
    ASSERT_TRUE(Emb->ClearSelection());
    EXPECT_EQ(Emb->GetSelLength(true), 0);

    // The focus goes into the frame, where its text is selected.
    script(QStringLiteral("var f=d.getElementById('f0');f.focus();var fd=f.contentDocument,r=fd.createRange();"
                          "r.selectNodeContents(fd.body);fd.getSelection().removeAllRanges();fd.getSelection().addRange(r);"));
    EXPECT_EQ(Emb->GetSelectedText(false, false), QStringLiteral("в рамке"));
    EXPECT_EQ(Emb->GetSelectedText(false, true), QString());
    EXPECT_EQ(Emb->GetActiveFrame()->body()->innerText(), QStringLiteral("в рамке"));
    EXPECT_EQ(Emb->GetActiveElement(nullptr)->tagName(), QStringLiteral("BODY"));
}

TEST_F(BrowserTools, TheNavigationButtonsDoNothingWhereThereIsNowhereToGo)
{
    load(QStringLiteral("<title>only</title>"));
    Emb->GoBack();
    Emb->GoForward();
    Emb->Stop();
    ASSERT_TRUE(Emb->Wait(0));
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("only"));
    QVariant in;
    QVariant out;
    EXPECT_EQ(Emb->InvokeCMD(true, 999, 0, in, out), OLECMDERR_E_NOTSUPPORTED);
}

TEST_F(BrowserTools, SourceTextAndAnHtmlTextWrittenIn)
{
    EXPECT_TRUE(Emb->AddHtmlToAboutBlank(QStringLiteral("<title>a#b%c?</title><p>Текст</p>")));
    ASSERT_TRUE(Emb->Wait(0));
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("a#b%c?"));
    EXPECT_TRUE(Emb->DocumentSource().startsWith(QLatin1String("<head>"))) << Emb->DocumentSource().toStdString();
    EXPECT_EQ(Emb->DocumentSourceText(), QStringLiteral("Текст\n"));
    QStringList list{QStringLiteral("old")};
    Emb->ViewPageSourceTextToStrings(list);
    EXPECT_EQ(list, QStringList{QStringLiteral("Текст")});
    Emb->ViewPageSourceHtmlToStrings(list);
    ASSERT_EQ(list.size(), 1);
    EXPECT_TRUE(list.first().endsWith(QStringLiteral("<p>Текст</p></body>"))) << list.first().toStdString();

    QStringList shown;
    const auto previous = setMessageBoxResponder([&](const MessageBoxRequest &r) {
        shown << r.text;
        return IDOK;
    });
    Emb->ViewPageSourceText();
    setMessageBoxResponder(previous);
    EXPECT_EQ(shown, QStringList{QStringLiteral("Текст\n")});
}

TEST_F(BrowserTools, ScrollingToIdsPositionsAndTheEnds)
{
    const QString tall = QStringLiteral("<div style='height:1000px'></div><div id=07 style='height:2000px'>07</div>"
                                        "<div id=7 style='height:1000px'>7</div><div id=\"a'b&quot;c\" style='height:3000px'>q</div>");
    for (const QString &doctype : {QString(), QStringLiteral("<!DOCTYPE html>")}) {
        load(doctype + QStringLiteral("<html><body style='margin:0'>") + tall + QStringLiteral("</body></html>"));
        const bool standards = !doctype.isEmpty();
        EXPECT_EQ(Emb->VScrollBarPosition(), 0);
        EXPECT_EQ(Emb->HScrollBarPosition(), 0);
        Emb->ScrollToID(7);
        EXPECT_TRUE(waitUntil([&] { return Emb->VScrollBarPosition() == 3000; })) << standards << " " << Emb->VScrollBarPosition();
        Emb->ScrollToIDEx(QStringLiteral("a'b\"c"));
        EXPECT_TRUE(waitUntil([&] { return Emb->VScrollBarPosition() == 4000; })) << standards;
        Emb->ScrollToTop();
        EXPECT_TRUE(waitUntil([&] { return Emb->VScrollBarPosition() == 0; })) << standards;
        Emb->ScrollToPosition(0, 500);
        EXPECT_TRUE(waitUntil([&] { return Emb->VScrollBarPosition() == 500; })) << standards;
        Emb->ScrollToBottom();
        EXPECT_TRUE(waitUntil([&] { return Emb->VScrollBarPosition() > 6000; })) << standards;
        EXPECT_FALSE(Emb->HScrollBarVisible()) << standards;
        // Only a page of the old kind scrolls its body past its height.
        EXPECT_EQ(Emb->VScrollBarVisible(), !standards);
    }
}

TEST_F(BrowserTools, TheWordAtAPointIsTheWordUnderIt)
{
    load(QStringLiteral("<p style='font-size:40px;margin:0'>Белая <span id=w>берёза</span> под</p>"));
    const QRect box = Emb->Doc3()->getElementById(QStringLiteral("w"))->getBoundingClientRect();
    EXPECT_EQ(Emb->GetWordAtCursor(box.center().x(), box.center().y()), QStringLiteral("берёза"));
    EXPECT_EQ(Emb->GetWordAtCursor(box.left() + 2, box.center().y()), QStringLiteral("берёза"));
}

TEST_F(BrowserTools, OverABlankOrAMarkTheWordIsTheNeighbourTheWordMovesReach)
{
    load(QStringLiteral("<div style='font-size:40px;margin:0;font-family:monospace'>"
                        "<p style='margin:0'><span id=open>«</span>Белая<span id=comma>,</span><span id=blank> </span>"
                        "<b id=bold>бе</b>рёза<span id=dash> — </span>под</p>"
                        "<p style='margin:0'><span id=alone>…</span></p><p style='margin:0'><span id=end>x</span></p></div>"));
    auto centre = [&](const char *id) {
        return Emb->Doc3()->getElementById(QString::fromLatin1(id))->getBoundingClientRect().center();
    };
    const struct {
        const char *id;
        QString word;
    } cases[] = {
        {"open", QStringLiteral("Белая")},   // at the paragraph's start: the word after
        {"comma", QStringLiteral("Белая")},  // the word before
        {"blank", QStringLiteral("Белая")},
        {"bold", QStringLiteral("берёза")},  // a word over two elements
        {"dash", QStringLiteral("берёза")},
        {"alone", QString()},                // a paragraph of no words
    };
    for (const auto &c : cases) {
        const QPoint at = centre(c.id);
        EXPECT_EQ(Emb->GetWordAtCursor(at.x(), at.y()), c.word) << c.id;
    }
    const QPoint end = centre("end");
    EXPECT_EQ(Emb->GetWordAtCursor(end.x() + 300, end.y()), QString()) << "off the text";
    EXPECT_EQ(Emb->GetWordAtCursor(end.x(), end.y() + 300), QString()) << "below the text";
}

TEST_F(BrowserTools, TheCookieOfAServedPage)
{
    LocalHttpServer server("<html><body><script>document.cookie='a=1'</script>served</body></html>");
    ASSERT_TRUE(Emb->Go(server.url().toString(), 10000));
    EXPECT_TRUE(waitUntil([&] { return Emb->GetCookie() == QLatin1String("a=1"); })) << Emb->GetCookie().toStdString();
}

// The engine reads a loaded page in the encoding it found; the one given
// counts for the pages that name none and that it cannot tell, from the reload on.
TEST_F(BrowserTools, ACharacterSetGivenIsTakenAndThePageReloadedWhenAsked)
{
    const QString file = dir.filePath(QStringLiteral("old.htm"));
    writeBytes(file, QStringEncoder("windows-1251").encode(QStringLiteral("<html><body><p id=t>Берёза</p></body></html>")));
    ASSERT_TRUE(Emb->Go(file, 10000));
    ASSERT_EQ(Emb->LocationURL(), QUrl::fromLocalFile(file).toString());
    int loads = 0;
    Emb->OnDownloadBegin = [&](THB *) { ++loads; };
    ASSERT_TRUE(Emb->SetCharartersSet(QStringLiteral("windows-1251"), false));
    EXPECT_EQ(engineOf(*Emb).page()->settings()->defaultTextEncoding(), QStringLiteral("windows-1251"));
    EXPECT_EQ(loads, 0);
    ASSERT_TRUE(Emb->SetCharartersSet(QStringLiteral("windows-1251"), true));
    ASSERT_TRUE(Emb->Wait(0));
    EXPECT_EQ(loads, 1) << "the wait ended before the reload";
    const auto word = Emb->Doc3()->getElementById(QStringLiteral("t"));
    ASSERT_NE(word, nullptr) << "the wait ended before the page was there";
    EXPECT_EQ(word->innerText(), QStringLiteral("Берёза"));
}

// The character set given is the page's: its reload keeps it, a page
// gone to next is read with the default in force before.
TEST_F(BrowserTools, ACharacterSetGivenIsThePagesAndNotTheNextOnes)
{
    const auto defaultEncoding = [&] { return engineOf(*Emb).page()->settings()->defaultTextEncoding(); };
    const QString before = defaultEncoding();
    ASSERT_NE(before, QStringLiteral("windows-1251"));
    const auto page = [&](const QString &name) {
        const QString file = dir.filePath(name);
        writeBytes(file, "<html><body><p id=t>caf\xE9</p></body></html>");
        return file;
    };
    ASSERT_TRUE(Emb->Go(page(QStringLiteral("first.htm")), 10000));
    ASSERT_TRUE(Emb->SetCharartersSet(QStringLiteral("windows-1251"), true));
    ASSERT_TRUE(Emb->Wait(0));
    EXPECT_EQ(defaultEncoding(), QStringLiteral("windows-1251")) << "the page's own reload";
    ASSERT_TRUE(Emb->SetCharartersSet(QStringLiteral("koi8-r"), false));
    Emb->Refresh2(REFRESH_COMPLETELY);
    ASSERT_TRUE(Emb->Wait(0));
    EXPECT_EQ(defaultEncoding(), QStringLiteral("koi8-r"));

    ASSERT_TRUE(Emb->Go(page(QStringLiteral("next.htm")), 10000));
    EXPECT_EQ(defaultEncoding(), before) << "the next page";
    ASSERT_EQ(Emb->LoadFromString(QStringLiteral("<p>written</p>")), S_OK);
    ASSERT_TRUE(Emb->SetCharartersSet(QStringLiteral("windows-1251"), false));
    ASSERT_EQ(Emb->LoadFromString(QStringLiteral("<p>written again</p>")), S_OK);
    ASSERT_TRUE(Emb->Wait(0));
    EXPECT_EQ(defaultEncoding(), before) << "a page written next";
}

// Where the character set given cannot change how the page is read, the
// answer says so and nothing is set or reloaded.
TEST_F(BrowserTools, ACharacterSetThatCannotApplyIsRefused)
{
    struct Case {
        const char *name;
        QString head;
        QString charset;
    };
    const Case cases[] = {
        {"meta charset", QStringLiteral("<meta charset=\"utf-8\">"), QStringLiteral("windows-1251")},
        {"meta content type", QStringLiteral("<meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">"),
         QStringLiteral("windows-1251")},
        {"unknown name", QString(), QStringLiteral("no-such-charset")},
        {"empty name", QString(), QString()},
    };
    const QString before = engineOf(*Emb).page()->settings()->defaultTextEncoding();
    for (const Case &c : cases) {
        const QString file = dir.filePath(QStringLiteral("page.htm"));
        writeBytes(file, (QStringLiteral("<html><head>") + c.head + QStringLiteral("</head><body>Берёза</body></html>")).toUtf8());
        ASSERT_TRUE(Emb->Go(file, 10000));
        int loads = 0;
        Emb->OnDownloadBegin = [&](THB *) { ++loads; };
        EXPECT_FALSE(Emb->SetCharartersSet(c.charset, true)) << c.name;
        EXPECT_EQ(engineOf(*Emb).page()->settings()->defaultTextEncoding(), before) << c.name;
        EXPECT_EQ(loads, 0) << c.name;
        Emb->OnDownloadBegin = nullptr;
    }
}

TEST_F(BrowserTools, EmbeddedObjectsAreCountedUpToAHundred)
{
    load(QStringLiteral("<object></object>").repeated(150));
    EXPECT_EQ(Emb->FrameCount(), 0);
    EXPECT_EQ(Emb->FrameCountFromDocument(Emb->Document()), 100);
}

TEST_F(BrowserTools, PicturesOfTheViewAtTheSizesAsked)
{
    load(QStringLiteral("<body style='margin:0;background:#ff0000'></body>"));
    // The engine shows the page a moment after it has landed.
    QImage probe(40, 30, QImage::Format_RGB32);
    ASSERT_TRUE(waitUntil([&] {
        probe.fill(Qt::black);
        Emb->GetThumbnail(&probe);
        return qRed(probe.pixel(20, 15)) > 200 && qGreen(probe.pixel(20, 15)) < 60;
    }));
    Emb->GetThumbnail(nullptr);

    const QString jpeg = dir.filePath(QStringLiteral("view.jpg"));
    ASSERT_TRUE(Emb->GetJpegFromBrowser(jpeg, 300, 400, 50, 200));
    const QImage decoded(jpeg, "JPEG");
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.size(), QSize(200, 50));
    EXPECT_GT(qRed(decoded.pixel(100, 25)), 200);
    EXPECT_LT(qGreen(decoded.pixel(100, 25)), 60);
    EXPECT_FALSE(Emb->GetJpegFromBrowser(dir.filePath(QStringLiteral("no/such/folder/x.jpg")), 300, 400, 50, 200));
    EXPECT_FALSE(Emb->GetJpegFromBrowser(jpeg, 300, 400, 0, 200));

    const QString bmp = dir.filePath(QStringLiteral("view.bmp"));
    ASSERT_TRUE(Emb->GetBmpFromBrowser(bmp));
    EXPECT_EQ(QImage(bmp, "BMP").size(), Emb->size());
}

TEST_F(BrowserTools, PagesComeFromWideTextsPicturesAndAddressesWaitedFor)
{
    ASSERT_EQ(Emb->LoadFromWideString(QStringLiteral("<p id=x>Берёза ʃ 😀</p>\r\n<p id=y>вторая</p>")), S_OK);
    ASSERT_TRUE(Emb->Wait(0));
    EXPECT_EQ(Emb->Doc3()->getElementById(QStringLiteral("x"))->innerText(), QStringLiteral("Берёза ʃ 😀"));
    EXPECT_EQ(Emb->Doc3()->getElementById(QStringLiteral("y"))->innerText(), QStringLiteral("вторая"));

    // A picture is shown as that picture.
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::blue);
    Emb->LoadFromImage(image);
    ASSERT_TRUE(Emb->Wait(0));
    ASSERT_TRUE(waitUntil([&] { return script(QStringLiteral("var i=d.images[0];return !!i&&i.complete;")).toBool(); }));
    EXPECT_EQ(script(QStringLiteral("var i=d.images[0];return [i.naturalWidth,i.naturalHeight];")), (QVariantList{8, 6}));

    LocalHttpServer server;
    ASSERT_TRUE(Emb->NavigateWait(server.url(QStringLiteral("/w")).toString(), 10000));
    EXPECT_EQ(Emb->LocationURL(), server.url(QStringLiteral("/w")).toString()) << "there when the wait ends";
    EXPECT_EQ(Emb->Document()->title(), QStringLiteral("served"));
}

TEST_F(BrowserTools, AFileIsDownloadedWholeOrNotAtAll)
{
    LocalHttpServer server("downloaded \xD0\x91 bytes");
    const QString target = dir.filePath(QStringLiteral("file.bin"));
    EXPECT_TRUE(Emb->DownloadFile(server.url(QStringLiteral("/file")).toString(), target));
    EXPECT_EQ(readBytes(target), QByteArray("downloaded \xD0\x91 bytes"));

    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString refused = QStringLiteral("http://127.0.0.1:%1/file").arg(closed.serverPort());
    closed.close();
    EXPECT_FALSE(Emb->DownloadFile(refused, target));
    EXPECT_EQ(readBytes(target), QByteArray("downloaded \xD0\x91 bytes")) << "the file is left as it was";
    EXPECT_FALSE(Emb->DownloadFile(server.url().toString(), dir.filePath(QStringLiteral("no/such/folder/x.bin"))));
    EXPECT_FALSE(Emb->DownloadFile(QStringLiteral("not an address"), target));
}

TEST_F(BrowserTools, AFileIsDownloadedFromAPlainLocalPathAsFromItsAddress)
{
    const QString source = dir.filePath(QStringLiteral("source #1.bin"));
    writeBytes(source, "local \xD0\x91 bytes");
    const struct {
        const char *what;
        QString from;
    } sources[] = {
        {"the address", QUrl::fromLocalFile(source).toString()},
        {"the absolute path", source},
        {"the path with its folder's dots", dir.path() + QStringLiteral("/./") + QFileInfo(source).fileName()},
    };
    for (const auto &c : sources) {
        SCOPED_TRACE(c.what);
        const QString target = dir.filePath(QStringLiteral("copy.bin"));
        QFile::remove(target);
        EXPECT_TRUE(Emb->DownloadFile(c.from, target)) << c.from.toStdString();
        EXPECT_EQ(readBytes(target), QByteArray("local \xD0\x91 bytes"));
    }
    EXPECT_FALSE(Emb->DownloadFile(dir.filePath(QStringLiteral("missing.bin")), dir.filePath(QStringLiteral("none.bin"))));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("none.bin"))));
}

TEST_F(BrowserTools, RefreshingAFrameFetchesItAgainAndAMissingFrameIsLeftAlone)
{
    LocalHttpServer server(LocalHttpServer::Others::NotFound);
    server.route("/top", "<html><body><iframe src='/frame'></iframe></body></html>");
    server.page("/frame", "frame");
    ASSERT_TRUE(Emb->Go(server.url(QStringLiteral("/top")).toString(), 10000));
    ASSERT_TRUE(waitUntil([&] { return server.requestsOf("/frame").size() == 1; }));
    Emb->RefreshFrame(0);
    EXPECT_TRUE(waitUntil([&] { return server.requestsOf("/frame").size() == 2; })) << "the frame asked for again";
    Emb->RefreshFrame(5);
    QTest::qWait(200);
    EXPECT_EQ(server.requestsOf("/frame").size(), 2);
    EXPECT_EQ(server.requestsOf("/top").size(), 1) << "the page itself stays";
}
