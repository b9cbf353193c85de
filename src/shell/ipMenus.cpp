// The main window's menu bar: the items handled here open the options
// dialog, the help file, the maker's pages and the about box; the others call
// into the tree and the rebuild of the combined list.
#include "ip.h"

#include "CombinedListRebuild.h"
#include "ErrorHandler.h"
#include "Options.h"
#include "ShellLinks.h"
#include "ShellTexts.h"
#include "about_dic.h"

#include <QAction>
#include <QMenu>

namespace vocab {

void TForm1::setUpMenus()
{
    Ndic->setDefaultAction(Nfold);

    // The state of "Обновление списка" is read whenever its menu opens.
    connect(NServis, &QMenu::aboutToShow, this, [this] { guarded([this] { MainMenu1Change(); }); });
    NCompil->setEnabled(false);

    const auto handle = [this](QAction *item, void (TForm1::*handler)()) {
        connect(item, &QAction::triggered, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    handle(Nunfold, &TForm1::MM_unfoldClick);
    handle(Nfold, &TForm1::MM_foldClick);
    handle(NCompil, &TForm1::MM_CompilClick);
    handle(MM_Options, &TForm1::MM_OptionsClick);
    handle(MM_site_news, &TForm1::MM_site_newsClick);
    handle(MM_site_dic, &TForm1::MM_site_dicClick);
    handle(MM_Help, &TForm1::MM_HelpClick);
    handle(MM_about, &TForm1::MM_aboutClick);
}

void TForm1::MainMenu1Change()
{
    // Read afresh: a deleted dictionary and a finished rebuild write the flag
    // through options objects of their own.
    NCompil->setEnabled(CombinedListIncomplete(dir_iniFile));
}

void TForm1::MM_OptionsClick()
{
    if (!IniFile)
        return;
    auto *dialog = new TFormOptions(*IniFile, [this](int id, bool on) { SwitchHotKey(id, on); }, this);
    FormOptions = dialog;
    dialog->exec();
}

void TForm1::MM_HelpClick()
{
    OpenHelpFile(ProgramDir());
}

void TForm1::MM_site_newsClick()
{
    OpenLink(QUrl(texts::SiteUrl));
}

void TForm1::MM_site_dicClick()
{
    OpenLink(QUrl(texts::DictionariesPageUrl));
}

void TForm1::MM_aboutClick()
{
    auto *dialog = new Tabout1(*this);
    about1 = dialog;
    dialog->exec();
}

} // namespace vocab
