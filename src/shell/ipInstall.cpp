// The main window's part in installing new dictionaries at start and in
// rebuilding the combined headword list from the menu.
#include "ip.h"

#include "AddDic.h"
#include "AppError.h"
#include "DictionaryInstallation.h"
#include "DictionaryTree.h"
#include "ErrorHandler.h"
#include "FormCompil.h"
#include "IniFile.h"
#include "NewDictionaries.h"
#include "ProgressBars.h"

#include <QTimer>

namespace vocab {

// While it lives, a progress loop runs inside one of the window's handlers
// and `cancel` stops it. The loop's window keeps the main window from taking
// input; what still reaches it, a close from the session's end, cancels the
// loop, and the window closes once the loop is over and the handler has
// returned.
class BusyWork {
public:
    BusyWork(TForm1 &form, std::function<void()> cancel) : m_form(form) { m_form.m_cancelWork = std::move(cancel); }
    ~BusyWork()
    {
        m_form.m_cancelWork = nullptr;
        if (m_form.m_closeAfterWork) {
            m_form.m_closeAfterWork = false;
            QTimer::singleShot(0, &m_form, [form = &m_form] { form->close(); });
        }
    }
    BusyWork(const BusyWork &) = delete;
    BusyWork &operator=(const BusyWork &) = delete;

private:
    TForm1 &m_form;
};

namespace {

// The progress window as the installation sees it.
class AddDicProgress final : public DialogProgress<InstallProgressHost, TFormAddDic> {
public:
    using DialogProgress::DialogProgress;

    void ShowStatistics(const QString &text) override { m_form.LabelStatistics->setText(text); }
    void ShowDictionaryName(const QString &text) override
    {
        m_form.ShowDictionaryName(text);
        m_form.repaint();
    }
    void ShowError(const AppError &error) override { HandleException(error); }
};

} // namespace

bool TForm1::deferCloseWhileBusy()
{
    if (!m_cancelWork)
        return false;
    m_closeAfterWork = true;
    m_cancelWork();
    return true;
}

void TForm1::installNewDictionaries()
{
    std::vector<DictionaryEntry> NewDictionaries;
    int dropped = 0;
    const int NewDictionariesFolderIndex = FindNewDictionaries(m_paths, NewDictionaries, TreeLines, &dropped);
    // The dictionaries whose folders vanished leave the tree, but their
    // headwords stay in the combined list: it is incomplete now, as after a
    // deletion, so that the rebuild is offered. A mark that cannot be
    // stored costs only the offer.
    if (dropped > 0)
        m_faults.Try([this] { IniFile->WriteBool(QStringLiteral("List"), QStringLiteral("incomplete"), true); });
    if (NewDictionaries.empty())
        return;

    TFormAddDic FormAddDic(this);
    BusyWork busy(*this, [&FormAddDic] { FormAddDic.Tag = true; });
    FormAddDic.show();
    FormAddDic.Label1->repaint();
    FormAddDic.Label2->repaint();
    FormAddDic.Button1->repaint();
    AddDicProgress progress(FormAddDic);
    try {
        if (InstallNewDictionaries(m_paths, NewDictionaries, NewDictionariesFolderIndex, AllHeadwords, TreeLines, progress)
            == InstallOutcome::Installed)
            ReindexNeeded = true;
    } catch (const FileError &error) {
        // The combined list could not be saved: nothing was installed, the
        // same dictionaries are found at the next start, and this one goes on
        // with the lists as they are.
        m_faults.Tell(error);
    }
}

void TForm1::MM_CompilClick()
{
    // The dialog reads the dictionaries from the tree file: it gets the tree
    // as it stands now.
    SaveDictionaryTree(TreeView1, TreeLines, m_paths.treeView);
    {
        TForm_compil Form_compil(m_paths, *IniFile, this);
        BusyWork busy(*this, [&Form_compil] { Form_compil.close(); });
        Form_compil.exec();
        if (Form_compil.RunFinished())
            Reload_F_Oglmain = true;
    }
    if (Reload_F_Oglmain)
        reloadCombinedList();
    reopenRoot();
}

void TForm1::reloadCombinedList()
{
    AllHeadwords = LineList::Read(m_paths.allHeadwords);
    // The index is held to the list just read as at start: one that cannot
    // be read or does not fit it, like the one a rebuild over a tree without
    // dictionaries leaves beside the empty list, is not used for searching.
    readLetterIndex();
    rebuildLetterIndexIfNeeded();
}

void TForm1::reopenRoot()
{
    // Selecting the root opens it through the tree's change handler; when it
    // is selected already, it is opened again here.
    QTreeWidgetItem *root = TreeNodes::at(TreeView1, 0);
    if (root && TreeView1->currentItem() != root)
        TreeView1->setCurrentItem(root);
    else
        OpenSelectedDictionary();
}

} // namespace vocab
