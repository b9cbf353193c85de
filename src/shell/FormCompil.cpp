#include "FormCompil.h"

#include "CombinedListRebuild.h"
#include "ErrorHandler.h"
#include "NewDictionaries.h"
#include "ProgressBars.h"
#include "WidgetSizes.h"

#include <QCloseEvent>
#include <QGridLayout>

namespace vocab {

namespace {

// The dialog as the rebuild sees it.
class CompilProgress final : public DialogProgress<RebuildProgressHost, TForm_compil> {
public:
    using DialogProgress::DialogProgress;

    void ShowDictionary(const QString &name, const QString &statistics) override
    {
        m_form.LabelName->show();
        m_form.LabelStatistics->show();
        m_form.ShowDictionaryName(name);
        m_form.LabelStatistics->setText(statistics);
        m_form.repaint();
    }
    void BeginWriting() override { m_form.ButtonStop->setEnabled(false); }
    void ShowStatistics(const QString &statistics) override { m_form.LabelStatistics->setText(statistics); }
};

} // namespace

TForm_compil::TForm_compil(const ConfigPaths &paths, TIniFile &IniFile, QWidget *parent)
    : QDialog(parent, Qt::Tool), m_paths(paths), m_ini(IniFile)
{
    setupUi(this);
    layOut();
    connect(ButtonBegin, &QPushButton::clicked, this, [this] { guarded([this] { ButtonBeginClick(); }); });
    connect(ButtonStop, &QPushButton::clicked, this, [this] { guarded([this] { ButtonStopClick(); }); });
    connect(ButtonExit, &QPushButton::clicked, this, [this] { guarded([this] { ButtonExitClick(); }); });
}

void TForm_compil::layOut()
{
    // The dialog takes its size here, once: as large as it was drawn, or as
    // its texts take in the font in use, with room for a name of 38 letters
    // of middle width. It keeps that size while it is open, as its border
    // lets no one resize it: a name too wide for its label is cut to it. The
    // name and the count keep their room while hidden, so that nothing moves
    // when they appear; the start and stop buttons share one place, as only
    // one of them shows at a time.
    ensurePolished(); // the fonts the style gives, before anything is measured
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 12, 16, 18);
    grid->setHorizontalSpacing(25);
    grid->setVerticalSpacing(6);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(LabelName, 1, 0, 1, 2);
    grid->addWidget(LabelStatistics, 2, 0, 1, 2);
    grid->addWidget(ProgressBar1, 3, 0, 1, 2);
    grid->addWidget(ButtonBegin, 5, 0);
    grid->addWidget(ButtonStop, 5, 0);
    grid->addWidget(ButtonExit, 5, 1);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    for (QLabel *label : {LabelName, LabelStatistics}) {
        QSizePolicy policy = label->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        label->setSizePolicy(policy);
    }
    const int nameWidth = LabelName->fontMetrics().horizontalAdvance(
        QStringLiteral("Обновление: ") + ShortDictionaryName(QString(39, u'о')));
    grid->addItem(new QSpacerItem(nameWidth, 0, QSizePolicy::Fixed, QSizePolicy::Fixed), 6, 0, 1, 2);
    for (QPushButton *button : {ButtonBegin, ButtonStop, ButtonExit})
        KeepAtLeast(button, QSize(160, 28));
    KeepSizeFromNowOn(this, QSize(377, 178));
    LabelName->setFixedWidth(LabelName->width());
}

void TForm_compil::ShowDictionaryName(const QString &text)
{
    // The name is the dictionary maker's text: a "<b>" in it is letters.
    LabelName->setTextFormat(Qt::PlainText);
    LabelName->setText(FitDictionaryName(text, LabelName->fontMetrics(), LabelName->contentsRect().width()));
}

void TForm_compil::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ColourProgressBar(ProgressBar1);
    ProgressBar1->setValue(100);
}

void TForm_compil::ButtonBeginClick()
{
    if (m_running)
        return;
    ButtonStop->show();
    ButtonStop->setEnabled(true);
    ButtonBegin->hide();
    ButtonExit->setEnabled(false);
    Tag = false;
    m_running = true;
    // Each run merges into a list of its own: a run after a stop starts
    // afresh, which gives the list adding to the stopped one's would.
    RebuildOutcome outcome = RebuildOutcome::Stopped;
    CompilProgress progress(*this);
    try {
        outcome = RebuildCombinedList(m_paths, m_ini, progress);
    } catch (const std::exception &error) {
        // The run ends as a stopped one would, with the message shown; the
        // files keep what they had unless the error came while writing them.
        HandleException(error);
    }
    m_running = false;
    if (outcome == RebuildOutcome::Finished) {
        m_finished = true;
        showFinished();
    } else {
        showStopped();
    }
    if (m_closeWhenStopped)
        close();
}

void TForm_compil::showFinished()
{
    Label1->setText(QStringLiteral("Обновление списка успешно завершено"));
    LabelName->clear();
    ButtonBegin->show();
    ButtonBegin->setEnabled(false);
    ButtonStop->hide();
    repaint();
    ButtonExit->setEnabled(true);
    ButtonExit->setFocus();
}

void TForm_compil::showStopped()
{
    LabelName->hide();
    LabelStatistics->hide();
    ButtonStop->hide();
    ButtonBegin->show();
    ButtonExit->setEnabled(true);
    Tag = false;
    ProgressBar1->setValue(0);
    repaint();
}

void TForm_compil::ButtonStopClick()
{
    Tag = true;
}

void TForm_compil::ButtonExitClick()
{
    close();
}

void TForm_compil::closeEvent(QCloseEvent *event)
{
    // The run works inside this dialog's own handler: it is stopped, and the
    // dialog closes once the run has returned.
    if (m_running) {
        Tag = true;
        m_closeWhenStopped = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TForm_compil::reject()
{
    if (m_running)
        close();
    else
        QDialog::reject();
}

} // namespace vocab
