// Every text the program writes into its windows fits its widget, in the
// desktop's usual font and in one a quarter larger: nothing is cut off. The
// dialogs take their size once, as they open, and keep it.
#include "AddDic.h"
#include "DictionaryFixtures.h"
#include "FormCompil.h"
#include "IniFile.h"
#include "NewDictionaries.h"
#include "Options.h"
#include "ShellPaths.h"
#include "UnitDelete.h"
#include "WindowFixture.h"
#include "about_dic.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTabWidget>

#include <memory>

using namespace vocab;

namespace {

// How much wider a text is than the room its widget gives it; 0 when it fits.
int overflow(QWidget *widget, QString *what)
{
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        const QString text = label->text();
        if (text.isEmpty() || label->textFormat() == Qt::RichText || Qt::mightBeRichText(text))
            return 0;
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
        const QFontMetrics metrics(label->font());
        *what = text;
        if (label->wordWrap()) {
            // Wrapped: it must fit the height its lines take.
            const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, text);
            return std::max(0, needed.height() - room.height()) + std::max(0, needed.width() - room.width());
        }
        return std::max(0, metrics.horizontalAdvance(text) - room.width());
    }
    if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        const QString text = button->text().remove(u'&');
        if (text.isEmpty())
            return 0;
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        QStyle::SubElement element = QStyle::SE_PushButtonContents;
        if (qobject_cast<QCheckBox *>(button))
            element = QStyle::SE_CheckBoxContents;
        else if (qobject_cast<QRadioButton *>(button))
            element = QStyle::SE_RadioButtonContents;
        const int room = button->style()->subElementRect(element, &option, button).width();
        *what = text;
        return std::max(0, QFontMetrics(button->font()).horizontalAdvance(text) - room);
    }
    return 0;
}

// The texts shown now that do not fit.
void collectClipped(QWidget *window, QStringList &clipped)
{
    if (window->layout())
        window->layout()->activate();
    QApplication::processEvents();
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisible())
            continue;
        QString text;
        const int over = overflow(widget, &text);
        const QString entry = QStringLiteral("%1 \"%2\": %3 px too narrow (%4 wide)")
                                  .arg(widget->objectName(), text).arg(over).arg(widget->width());
        if (over > 0 && !clipped.contains(entry))
            clipped.append(entry);
    }
}

// Shows the window as the user sees it, every page of its tabs in turn, and
// lists every text that does not fit.
QStringList clippedTexts(QWidget *window)
{
    window->show();
    QStringList clipped;
    collectClipped(window, clipped);
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        const int shown = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            collectClipped(window, clipped);
        }
        tabs->setCurrentIndex(shown);
    }
    return clipped;
}

class DialogTexts : public vocab::test::WindowFixture, public ::testing::WithParamInterface<double> {
protected:
    void SetUp() override
    {
        previousFont = QApplication::font();
        // The desktop's font, at its size or a quarter larger.
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(previousFont.pointSizeF() * GetParam());
        QApplication::setFont(font);
        WindowFixture::SetUp();
        vocab::test::FixtureFolder(work.path()).writeTree({u"Все словари"_qs});
        start();
    }
    void TearDown() override
    {
        WindowFixture::TearDown();
        QApplication::setFont(previousFont);
    }

    QFont previousFont;
};

} // namespace

TEST_P(DialogTexts, NoFixedTextIsWiderThanItsWidget)
{
    ASSERT_TRUE(QFontDatabase::families().contains(u"DejaVu Sans"_qs)) << "the desktop's font is installed";
    EXPECT_EQ(clippedTexts(form.get()), QStringList()) << "main window";

    TFormAddDic addDic(form.get());
    EXPECT_EQ(clippedTexts(&addDic), QStringList()) << "installing window";
    EXPECT_GE(addDic.width(), 428);
    EXPECT_GE(addDic.height(), 141);
    // A long name, cut as the installation cuts it, fits as well.
    addDic.LabelNameDic->setText(ShortDictionaryName(u"Большой англо-русский политехнический словарь"_qs));
    addDic.LabelStatistics->setText(u"Выполнено 10 из 12"_qs);
    EXPECT_EQ(clippedTexts(&addDic), QStringList()) << "installing window, with a name";

    TForm_compil compil(form->paths(), *form->IniFile, form.get());
    EXPECT_EQ(clippedTexts(&compil), QStringList()) << "rebuild window";
    compil.LabelName->setText(u"Обновление: "_qs + ShortDictionaryName(u"Большой англо-русский политехнический словарь"_qs));
    compil.LabelName->show();
    compil.LabelStatistics->setText(u"Выполнено 10 из 12"_qs);
    compil.LabelStatistics->show();
    compil.Label1->setText(u"Обновление списка успешно завершено"_qs);
    EXPECT_EQ(clippedTexts(&compil), QStringList()) << "rebuild window, running";
    compil.ButtonBegin->hide();
    compil.ButtonStop->show();
    EXPECT_EQ(clippedTexts(&compil), QStringList()) << "rebuild window, stop button";

    TFormDelete removal(u"Большой англо-русский политехнический словарь"_qs, form.get());
    EXPECT_EQ(clippedTexts(&removal), QStringList()) << "deletion question";

    TFormOptions options(*form->IniFile, [](int, bool) {}, form.get());
    EXPECT_EQ(clippedTexts(&options), QStringList()) << "options";

    Tabout1 about(*form);
    EXPECT_EQ(clippedTexts(&about), QStringList()) << "about box";
}

namespace {

// Names of every length up to well past the cut, in letters of every width:
// each name a list of its characters.
std::vector<QStringList> namesOfEveryLengthAndWidth()
{
    const QStringList alphabets[] = {
        {u"i"_qs, u"l"_qs},
        {u"о"_qs, u"а"_qs},
        {u"Ш"_qs, u"Щ"_qs, u"Ж"_qs, u"Ю"_qs},
        {u"W"_qs, u"M"_qs},
        {u"й"_qs, u"и\u0306"_qs}, // a letter and one made of a letter and its mark
        {u"😀"_qs, u"字"_qs},
        QString(u"Большой англо-русский политехнический словарь"_qs).split(QString(), Qt::SkipEmptyParts),
    };
    std::vector<QStringList> names;
    for (const QStringList &letters : alphabets) {
        for (int n = 0; n <= 60; ++n) {
            QStringList name;
            for (int i = 0; i < n; ++i)
                name << letters[i % letters.size()];
            names.push_back(name);
        }
    }
    return names;
}

// What a name shows as in `label`, given as the progress window was given it
// (`prefix` and the name cut after 38 characters): the whole of that when it
// fits, otherwise as many of its first characters as fit, with "...".
void expectCutToTheLabel(const QLabel *label, const QString &prefix, const QStringList &name)
{
    const QString whole = name.join(QString());
    const QString given = prefix + ShortDictionaryName(whole);
    const QString shown = label->text();
    const QFontMetrics metrics(label->font());
    const int room = label->contentsRect().width();
    EXPECT_LE(metrics.horizontalAdvance(shown), room) << shown.toStdString();
    if (shown == given)
        return;
    ASSERT_TRUE(shown.endsWith(u"..."_qs)) << shown.toStdString();
    const QString kept = shown.chopped(3);
    ASSERT_TRUE(kept.startsWith(prefix)) << shown.toStdString();
    // Whole characters, and no fewer than fit.
    qsizetype length = prefix.size();
    int characters = 0;
    while (length < kept.size() && characters < name.size())
        length += name[characters++].size();
    ASSERT_EQ(prefix + name.mid(0, characters).join(QString()), kept) << shown.toStdString();
    ASSERT_LT(characters, name.size());
    EXPECT_GT(metrics.horizontalAdvance(kept + name[characters] + u"..."_qs), room) << "one more would not fit";
}

// The window's size and place, and that no one can change its size.
void expectKeptAt(const QWidget *window, const QRect &opened, const std::string &what)
{
    EXPECT_EQ(window->geometry(), opened) << what;
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << what;
}

} // namespace

TEST_P(DialogTexts, TheProgressWindowsKeepTheirSizeAndPlaceWhateverNamesPassThroughThem)
{
    const std::vector<QStringList> names = namesOfEveryLengthAndWidth();

    TFormAddDic addDic(form.get());
    ASSERT_EQ(clippedTexts(&addDic), QStringList());
    const QRect installing = addDic.geometry();
    EXPECT_GE(installing.width(), 428);
    EXPECT_GE(installing.height(), 141);
    EXPECT_TRUE(addDic.windowFlags() & Qt::FramelessWindowHint);
    expectKeptAt(&addDic, installing, "installing window as it opens");
    for (const QStringList &name : names) {
        const QString whole = name.join(QString());
        SCOPED_TRACE(whole.toStdString());
        // As the installation gives it.
        addDic.ShowDictionaryName(ShortDictionaryName(whole));
        addDic.LabelStatistics->setText(u"Выполнено 10 из 12"_qs);
        EXPECT_EQ(clippedTexts(&addDic), QStringList());
        expectKeptAt(&addDic, installing, "installing window");
        expectCutToTheLabel(addDic.LabelNameDic, QString(), name);
        if (name.size() <= 38 && name.value(0) == u"о"_qs) {
            EXPECT_EQ(addDic.LabelNameDic->text(), whole) << "room for a name of 38 letters of middle width";
        }
    }

    TForm_compil compil(form->paths(), *form->IniFile, form.get());
    ASSERT_EQ(clippedTexts(&compil), QStringList());
    const QRect rebuilding = compil.geometry();
    EXPECT_GE(rebuilding.width(), 377);
    EXPECT_GE(rebuilding.height(), 178);
    EXPECT_EQ(compil.windowType(), Qt::Tool);
    expectKeptAt(&compil, rebuilding, "rebuild window as it opens");
    compil.LabelName->show();
    compil.LabelStatistics->show();
    for (const QStringList &name : names) {
        const QString whole = name.join(QString());
        SCOPED_TRACE(whole.toStdString());
        // As the rebuild gives it.
        compil.ShowDictionaryName(u"Обновление: "_qs + ShortDictionaryName(whole));
        compil.LabelStatistics->setText(u"Выполнено 10 из 12"_qs);
        EXPECT_EQ(clippedTexts(&compil), QStringList());
        expectKeptAt(&compil, rebuilding, "rebuild window");
        expectCutToTheLabel(compil.LabelName, u"Обновление: "_qs, name);
    }

    // A name is shown as the letters it is made of.
    addDic.ShowDictionaryName(u"<b>Словарь</b>"_qs);
    compil.ShowDictionaryName(u"<b>Словарь</b>"_qs);
    EXPECT_EQ(addDic.LabelNameDic->textFormat(), Qt::PlainText);
    EXPECT_EQ(compil.LabelName->textFormat(), Qt::PlainText);
}

// The question about a dictionary of any name fits the dialog, which is no
// smaller than it was drawn, takes its size before it opens and keeps it.
TEST_P(DialogTexts, TheDeletionQuestionFitsItsWindowOfOneSize)
{
    const std::vector<QStringList> names = namesOfEveryLengthAndWidth();
    for (std::size_t i = 0; i < names.size(); i += 7) {
        const QString whole = names[i].join(QString());
        SCOPED_TRACE(whole.toStdString());
        TFormDelete removal(whole, form.get());
        const QSize made = removal.size();
        EXPECT_GE(made.width(), 279);
        EXPECT_GE(made.height(), 148);
        EXPECT_EQ(removal.windowType(), Qt::Tool);
        EXPECT_EQ(clippedTexts(&removal), QStringList());
        EXPECT_EQ(removal.StaticText1->text(), TFormDelete::Question(whole));
        expectKeptAt(&removal, QRect(removal.geometry().topLeft(), made), "deletion question, open");
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, DialogTexts, ::testing::Values(1.0, 1.25));
