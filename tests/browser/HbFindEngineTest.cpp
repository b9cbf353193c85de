// Find, highlight and form filling over the real engine: the text ranges of
// the page, the component's finds and step-by-step search, the marking of
// every occurrence, and form fields set, read and posted to a server on the
// loopback interface.

#include "BrowserEngineFixture.h"
#include "EngineTextRange.h"
#include "HbToolsFind.h"

#include "InputQuery.h"
#include "OleError.h"
#include "ScriptRunner.h"
#include "WebPage.h"

#include <QWebEnginePage>
#include <QWebEngineScript>

using namespace vocab;
using namespace vocab::test;

namespace {

const QString Mark = QStringLiteral("<span style=\"background-color: Lime; font-weight: bolder;\">");

class Find : public ServedBrowserEngineTest {
protected:
    void TearDown() override { setInputQueryResponder({}); }

    QString bodyHtml() { return script(QStringLiteral("return d.body.innerHTML;")).toString(); }
    // The id of the element the selection starts in.
    QString selectedId()
    {
        return script(QStringLiteral("var s=w.getSelection();if(!s.rangeCount)return '';var r=s.getRangeAt(0),n=r.startContainer;"
                                   "if(n.nodeType===1&&r.startOffset<n.childNodes.length)n=n.childNodes[r.startOffset];"
                                   "return (n.nodeType===1?n:n.parentNode).id;"))
            .toString();
    }
    std::unique_ptr<IHTMLTxtRange> bodyRange()
    {
        const std::unique_ptr<IHTMLElement> body = Emb->Document()->body();
        return dynamic_cast<IHTMLBodyElement &>(*body).createTextRange();
    }
    int scrollY() { return script(QStringLiteral("return w.scrollY;")).toInt(); }
    // Goes to the page and waits until its two frames have their text.
    void goToTwoFrames(const QString &path)
    {
        go(path);
        ASSERT_TRUE(waitUntil([&] {
            return script(QStringLiteral("return w.frames.length===2&&[0,1].every(function(i){var f=w.frames[i].document;"
                                       "return f.readyState==='complete'&&f.body&&f.body.textContent.length>0;});"))
                .toBool();
        }));
    }
    // Marks "tea" through the component, the question answered as asked.
    // How many times the question was asked.
    int highlightTea()
    {
        int asked = 0;
        setInputQueryResponder([&](const InputQueryRequest &request) -> std::optional<QString> {
            ++asked;
            return request.value;
        });
        Emb->SearchAndHighlight({}, {}, QStringLiteral("tea"), true);
        return asked;
    }
    // The marks in the page's own document and in each of its two frames.
    QVariantList marks()
    {
        return script(QStringLiteral("return [d.querySelectorAll('span').length,w.frames[0].document.querySelectorAll('span').length,"
                                     "w.frames[1].document.querySelectorAll('span').length];"))
            .toList();
    }
};

const QString Words = QStringLiteral("<p><b id=w1>Alpha</b> beta <i id=w2>ALPHA</i> <u id=w3>alphabet</u>, "
                                     "gamma-<s id=w4>alpha</s>.</p>");

} // namespace

TEST_F(Find, RangesFindForwardBackwardByWordAndCase)
{
    load(Words);
    struct Case {
        const char *text;
        int count;
        int flags;
        const char *found; // the id of the match's element; "" for none
    } cases[] = {
        {"alpha", 1, 0, "w1"},
        {"alpha", -1, 0, "w4"},
        {"alpha", 1, HbTools::FindMatchCase, "w3"},
        {"ALPHA", 1, HbTools::FindMatchCase, "w2"},
        {"alpha", 1, HbTools::FindWholeWord, "w1"},
        {"alpha", 1, HbTools::FindWholeWord | HbTools::FindMatchCase, "w4"},
        {"alphabet", -1, HbTools::FindWholeWord, "w3"},
        {"alph", 1, HbTools::FindWholeWord, ""},
        {"delta", 1, 0, ""},
    };
    for (const Case &c : cases) {
        const std::unique_ptr<IHTMLTxtRange> range = bodyRange();
        const bool found = range->findText(QLatin1String(c.text), c.count, c.flags);
        EXPECT_EQ(found, *c.found != 0) << c.text << " " << c.count << " " << c.flags;
        if (!found) {
            EXPECT_EQ(range->text(), QStringLiteral("Alpha beta ALPHA alphabet, gamma-alpha.")) << "unchanged";
            continue;
        }
        EXPECT_EQ(range->text().toLower(), QString::fromLatin1(c.text).toLower());
        range->select();
        EXPECT_EQ(selectedId(), QLatin1String(c.found)) << c.text << " " << c.count << " " << c.flags;
    }
}

TEST_F(Find, CollapsedRangesSearchOnFromTheirPlaceAndMovesStopAtTheEnds)
{
    load(QStringLiteral("<p>one  <i>two</i>\n one <em>two</em></p>"));
    const std::unique_ptr<IHTMLTxtRange> range = bodyRange();
    EXPECT_EQ(range->text(), QStringLiteral("one two one two")) << "white space read as one blank";
    EXPECT_EQ(range->move(QStringLiteral("character"), -5), 0);
    EXPECT_EQ(range->text(), QString());
    EXPECT_EQ(range->move(QStringLiteral("Character"), 100), 15);
    ASSERT_TRUE(range->findText(QStringLiteral("one"), -1, 0));
    const std::unique_ptr<IHTMLTxtRange> last = range->duplicate();
    EXPECT_EQ(range->move(QStringLiteral("character"), -1), -1);
    ASSERT_TRUE(range->findText(QStringLiteral("one two"), -1, 0)) << "a match across elements and a line break";
    EXPECT_EQ(range->htmlText(), QStringLiteral("one  <i>two</i>"));
    EXPECT_EQ(range->compareEndPoints(QStringLiteral("StartToStart"), *last), -1);
    EXPECT_EQ(last->compareEndPoints(QStringLiteral("EndToEnd"), *range), 1);
    EXPECT_EQ(range->moveStart(QStringLiteral("character"), 4), 4);
    EXPECT_EQ(range->text(), QStringLiteral("two"));
    EXPECT_EQ(range->moveStart(QStringLiteral("character"), 50), 11) << "the end follows the start to the end";
    EXPECT_EQ(range->text(), QString());
    EXPECT_THROW(range->move(QStringLiteral("word"), 1), EOleException);
}

TEST_F(Find, SearchTextScrollsToTheMatchAndSearchStringTellsWhetherThePageHoldsIt)
{
    load(QStringLiteral("<p>first</p><div style='height:3000px'></div><p id=far>Needle here</p>"));
    EXPECT_EQ(Emb->SearchText(QStringLiteral("absent"), 0), nullptr);
    EXPECT_EQ(scrollY(), 0);
    const std::unique_ptr<IHTMLTxtRange> found = Emb->SearchText(QStringLiteral("needle"), 0);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->text(), QStringLiteral("Needle"));
    EXPECT_GT(scrollY(), 2000);
    EXPECT_EQ(Emb->SearchText(QStringLiteral("needle"), HbTools::FindMatchCase), nullptr);
    EXPECT_EQ(Emb->SearchText(QStringLiteral("first"), 0), nullptr) << "the search starts one character into the body";

    EXPECT_TRUE(Emb->SearchString(QStringLiteral("NEEDLE HERE")));
    EXPECT_FALSE(Emb->SearchString(QStringLiteral("needles")));
}

TEST_F(Find, SearchTermsAreTextWhateverTheyHold)
{
    load(QStringLiteral("<p>He said \"x\" &lt;tag&gt; [a-z]+ $1 \\d 'q' ok</p><script>var ran=0;</script>"));
    EXPECT_TRUE(Emb->SearchString(QStringLiteral("\"x\" <tag> [a-z]+ $1 \\d 'q'")));
    EXPECT_FALSE(Emb->SearchString(QStringLiteral("[a-z]*")));
    EXPECT_FALSE(Emb->SearchString(QStringLiteral("var ran")) ) << "script text is no text of the page";
    EXPECT_FALSE(Emb->SearchString(QStringLiteral("');window.ran=1;('")));
    Emb->SearchAndHighlight({}, {}, QStringLiteral("<tag> [a-z]+"), false);
    EXPECT_EQ(bodyHtml(), QStringLiteral("<p>He said \"x\" ") + Mark
                              + QStringLiteral("&lt;tag&gt; [a-z]+</span> $1 \\d 'q' ok</p><script>var ran=0;</script>"));
    Emb->SearchAndHighlight({}, {}, QStringLiteral("</span><script>window.ran=1</script>"), false);
    EXPECT_EQ(script(QStringLiteral("return d.querySelectorAll('span').length;")).toInt(), 1);
}

TEST_F(Find, HighlightMarksEveryOccurrenceOnceAndEnds)
{
    load(QStringLiteral("<p>foo x FOO y f<b>oo</b> span Lime</p>"));
    Emb->SearchAndHighlight(QStringLiteral("Найти"), QStringLiteral("Текст"), QStringLiteral("foo"), false);
    EXPECT_EQ(bodyHtml(), QStringLiteral("<p>") + Mark + QStringLiteral("foo</span> x ") + Mark + QStringLiteral("FOO</span> y ")
                              + Mark + QStringLiteral("f<b>oo</b></span> span Lime</p>"));
    // The markup's own words are no text to find again.
    Emb->SearchAndHighlight({}, {}, QStringLiteral("span"), false);
    Emb->SearchAndHighlight({}, {}, QStringLiteral("Lime"), false);
    EXPECT_EQ(script(QStringLiteral("return d.querySelectorAll('span').length;")).toInt(), 5);
    EXPECT_EQ(script(QStringLiteral("return d.querySelectorAll('span span').length;")).toInt(), 0);
}

TEST_F(Find, HighlightScrollsToTheLastOccurrence)
{
    load(QStringLiteral("<p>word</p><div style='height:3000px'></div><p>word</p><div style='height:3000px'></div>"));
    Emb->SearchAndHighlight({}, {}, QStringLiteral("word"), false);
    EXPECT_EQ(script(QStringLiteral("return d.querySelectorAll('span').length;")).toInt(), 2);
    EXPECT_GT(scrollY(), 2500);
}

TEST_F(Find, HighlightEndsWhenTheRangeDoesNotAdvance)
{
    load(QStringLiteral("<p>foo bar foo</p>"));
    // A paste that leaves the range at the start of what it pasted: the
    // next find comes back to the same occurrence.
    bool answered = false;
    runScriptAndWait(engineOf(*Emb).page(), QWebEngineScript::ApplicationWorld, textRangeLibrary(), 5000,
                     &answered);
    ASSERT_TRUE(answered);
    runScriptAndWait(engineOf(*Emb).page(), QWebEngineScript::ApplicationWorld,
                     QStringLiteral("var L=window.__vocabTextRanges,paste=L.pasteHTML;"
                                    "L.pasteHTML=function(d,id,html){paste(d,id,html);L.move(d,id,'character',-3);return true;};"),
                     5000, &answered);
    ASSERT_TRUE(answered);
    Emb->SearchAndHighlight({}, {}, QStringLiteral("foo"), false);
    EXPECT_EQ(bodyHtml(), QStringLiteral("<p>") + Mark + QStringLiteral("foo</span> bar foo</p>"));
}

TEST_F(Find, HighlightAsksForTheTextAndLeavesThePageAloneForCancelOrNothing)
{
    load(QStringLiteral("<p>cat dog cat</p>"));
    const QString before = bodyHtml();
    QList<InputQueryRequest> asked;
    setInputQueryResponder([&](const InputQueryRequest &request) -> std::optional<QString> {
        asked << request;
        return std::nullopt;
    });
    Emb->SearchAndHighlight(QStringLiteral("Поиск"), QStringLiteral("Что найти:"), QStringLiteral("cat"), true);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].caption, QStringLiteral("Поиск"));
    EXPECT_EQ(asked[0].prompt, QStringLiteral("Что найти:"));
    EXPECT_EQ(asked[0].value, QStringLiteral("cat"));
    EXPECT_EQ(bodyHtml(), before);
    Emb->SearchAndHighlight({}, {}, QString(), false);
    EXPECT_EQ(bodyHtml(), before);

    setInputQueryResponder([](const InputQueryRequest &) -> std::optional<QString> { return QStringLiteral("dog"); });
    Emb->SearchAndHighlight({}, {}, QStringLiteral("cat"), true);
    EXPECT_EQ(bodyHtml(), QStringLiteral("<p>cat ") + Mark + QStringLiteral("dog</span> cat</p>"));
}

TEST_F(Find, HighlightMarksTheFramesAndThePageAskingOnce)
{
    server.route("/outer", "<html><body><p>top tea</p><iframe src='/inner'></iframe><iframe src='/inner'></iframe>"
                           "<object></object></body></html>");
    server.route("/inner", "<html><body>tea for two, tea</body></html>");
    ASSERT_NO_FATAL_FAILURE(goToTwoFrames(QStringLiteral("/outer")));
    EXPECT_EQ(highlightTea(), 1);
    EXPECT_EQ(marks(), (QVariantList{1, 2, 2}));
}

TEST_F(Find, HighlightOnAFramesetMarksOnlyItsFrames)
{
    server.route("/set", "<html><frameset cols='50%,50%'><frame src='/inner'><frame src='/inner'>"
                         "<noframes><p>tea without frames</p></noframes></frameset></html>");
    server.route("/inner", "<html><body>tea for two, tea</body></html>");
    ASSERT_NO_FATAL_FAILURE(goToTwoFrames(QStringLiteral("/set")));
    const QString noFrames = QStringLiteral("return d.querySelector('noframes').innerHTML;");
    const QString before = script(noFrames).toString();
    ASSERT_TRUE(before.contains(QStringLiteral("tea without frames"))) << before.toStdString();
    EXPECT_EQ(highlightTea(), 1);
    EXPECT_EQ(marks(), (QVariantList{0, 2, 2}));
    EXPECT_EQ(script(noFrames).toString(), before);
}

TEST_F(Find, SearchNextTextStepsThroughTheOccurrences)
{
    load(QStringLiteral("<p id=p><b id=a1>alpha</b> beta <b id=a2>alpha</b> gamma</p>"));
    const TSearchResults found{srFound}, notFound{srNotFound}, endOf{srNotFound, srEndOf};
    struct Step {
        const char *text;
        TSearchDirections direction;
        TSearchResults result;
        const char *selected;
    } steps[] = {
        {"alpha", sdDown, found, "a1"},
        {"ALPHA", sdDown, found, "a2"}, // the same search in other letter case
        {"alpha", sdDown, endOf, "a2"},
        {"alpha", sdDown, endOf, "a2"}, // it stops at the end
        {"alpha", sdUp, found, "a1"},   // and turns back from the last found
        {"alpha", sdUp, endOf, "a1"},
        {"alpha", sdDown, found, "a2"},
        {"alpha", sdUp, found, "a1"},
        {"alpha", sdDown, found, "a1"}, // turning down after a find starts at that occurrence
        {"delta", sdDown, endOf, "a1"},
        {"delta", sdUp, notFound, "a1"},
        {"delta", sdUp, endOf, "a1"},
        {"alpha", sdUp, found, "a2"}, // a new text going up starts at the end
        {"beta", sdDown, found, "p"}, // and going down at the top
        {"", sdDown, notFound, "p"},
    };
    for (const Step &step : steps) {
        EXPECT_EQ(Emb->SearchNextText(QLatin1String(step.text), step.direction, true), step.result)
            << step.text << " " << int(step.direction);
        EXPECT_EQ(selectedId(), QLatin1String(step.selected)) << step.text << " " << int(step.direction);
    }
}

TEST_F(Find, SearchNextTextOnAFreshComponentAndOnANewPage)
{
    load(QStringLiteral("<p>nothing here</p>"));
    EXPECT_EQ(Emb->SearchNextText(QStringLiteral("zzz"), sdDown, false), (TSearchResults{srNotFound, srEndOf}));

    load(QStringLiteral("<p id=p1>word</p>"));
    EXPECT_EQ(Emb->SearchNextText(QStringLiteral("word"), sdDown, true), TSearchResults{srFound});
    load(QStringLiteral("<p id=q1>word</p><p id=q2>word</p>"));
    EXPECT_EQ(Emb->SearchNextText(QStringLiteral("word"), sdDown, true), TSearchResults{srFound});
    EXPECT_EQ(selectedId(), QStringLiteral("q1")) << "the new page is searched from its top";
}

TEST_F(Find, FormFieldsAreSetAndReadByName)
{
    load(QStringLiteral("<form><input name=q value=old><input type=checkbox name=agree>"
                        "<select name=lang><option value=ru>ru</option><option value=en>en</option></select>"
                        "<textarea name=note></textarea><input type=button name=go value=Go></form>"
                        "<a name=anchor href='#'>link</a>"));
    const QString odd = QStringLiteral("a\"b'c\\d</script><script>window.hacked=1</script>");
    struct Case {
        QString name;
        QString value;
        bool set;
    } cases[] = {
        {QStringLiteral("q"), odd, true},
        {QStringLiteral("agree"), QStringLiteral("yes"), true},
        {QStringLiteral("lang"), QStringLiteral("en"), true},
        {QStringLiteral("note"), QStringLiteral("line 1\nline 2"), true},
        {QStringLiteral("go"), QStringLiteral("Went"), true},
        {QStringLiteral("anchor"), QStringLiteral("x"), false},
        {QStringLiteral("missing"), QStringLiteral("x"), false},
        {QStringLiteral("'];window.hacked=1;//"), QStringLiteral("x"), false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Emb->FillForm(c.name, c.value), c.set) << c.name.toStdString();
        if (c.set) {
            EXPECT_EQ(Emb->GetFieldValue(c.name), c.value) << c.name.toStdString();
        }
    }
    EXPECT_EQ(Emb->GetFieldValue(QStringLiteral("anchor")), QString()) << "no field of a form";
    EXPECT_FALSE(script(QStringLiteral("return !!window.hacked;")).toBool());
    EXPECT_EQ(script(QStringLiteral("return d.getElementsByName('lang')[0].selectedIndex;")).toInt(), 1);
}

TEST_F(Find, GetFieldValueTakesTheLastFieldOfTheNameInTheForms)
{
    load(QStringLiteral("<p>no forms</p><input name=x value=loose>"));
    EXPECT_EQ(Emb->GetFieldValue(QStringLiteral("x")), QString());
    load(QStringLiteral("<form><input name=x value=first><input name=X value=other></form>"
                        "<input name=x value=loose><form><input name=x value=second></form>"));
    EXPECT_EQ(Emb->GetFieldValue(QStringLiteral("x")), QStringLiteral("second"));
    EXPECT_EQ(Emb->GetFieldValue(QStringLiteral("X")), QStringLiteral("other")) << "names are told apart by case";
}

TEST_F(Find, FilledFormsOfEveryOpenBrowserArePostedByTheirSearchButton)
{
    server.route("/form", "<html><body><form method=post action='/post'>"
                          "<input type=text name=q value=old><input type=checkbox name=agree checked>"
                          "<select name=lang><option value=ru>ru</option><option value=en>en</option></select>"
                          "<input type=submit name=s value=Search><input type=text name=after value=late>"
                          "</form></body></html>");
    server.page("/post", "posted");
    go(QStringLiteral("/form"));
    ASSERT_TRUE(Emb->FillForm(QStringLiteral("agree"), QStringLiteral("yes")));
    ASSERT_TRUE(Emb->FillForm(QStringLiteral("lang"), QStringLiteral("en")));

    // A second view of the program: the open windows are this program's.
    auto *other = new THostedBrowser(&window);
    loadBlank(*other);
    ASSERT_EQ(other->LoadFromString(QStringLiteral("<form><input type=text name=t><input type=submit value=Other></form>")), S_OK);
    ASSERT_TRUE(other->Wait(0));
    const int before = HbTools::ShellWindowCount();
    EXPECT_EQ(HbTools::ShellWindowItem(before - 1), other->DefaultInterface());
    EXPECT_EQ(HbTools::ShellWindowItem(before), nullptr);

    Emb->FillFormAndExcecute();
    ASSERT_TRUE(waitUntil([&] { return server.requestsOf("/post").size() == 1; }));
    EXPECT_EQ(server.requestsOf("/post").first().body, QByteArray("q=FindWindow&agree=yes&lang=en&s=Search&after=late"))
        << "the field after the button is filled once the form has gone";
    EXPECT_EQ(other->GetFieldValue(QStringLiteral("t")), QStringLiteral("FindWindow"));
    delete other;
    EXPECT_EQ(HbTools::ShellWindowCount(), before - 1);
}
