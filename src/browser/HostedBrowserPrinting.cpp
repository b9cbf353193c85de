// THostedBrowser's printing: the print routines with the settings of the
// component's print options.

#include "HostedBrowser.h"

#include "HbToolsPrinting.h"

namespace vocab {

void THostedBrowser::Print()
{
    Wait(0);
    const TPrintOptions &options = *FPrintOptions;
    if (options.Enabled)
        HbTools::Print(DefaultInterface(), options.HideSetup, false, QString(), QString());
    else
        HbTools::Print(DefaultInterface(), options.HideSetup, true, options.Header, options.Footer);
}

void THostedBrowser::PrintWithOptions()
{
    Wait(0);
    HbTools::PrintWithOptions(DefaultInterface(), Document(), true, hostedBrowserModule().PageSetupPrefillPending,
                              FPrintOptions->HideSetup, FPrintOptions->Enabled);
}

bool THostedBrowser::PageSetup(bool UsePrintOptions)
{
    Wait(0);
    return HbTools::PageSetup(Document(), UsePrintOptions, FPrintOptions->Enabled, hostedBrowserModule().PageSetupPrefillPending);
}

void THostedBrowser::PrintSetup()
{
    Wait(0);
    HbTools::PrintSetup(DefaultInterface(), FPrintOptions->HideSetup);
}

void THostedBrowser::PrintPreview()
{
    HbTools::PrintPreview(DefaultInterface());
}

void THostedBrowser::PrintPreviewExtended(int nCMDShow)
{
    HbTools::PrintPreviewExtended(DefaultInterface(), nCMDShow, FPrintOptions->HideSetup);
}

void THostedBrowser::PrintPreviewFromTemplate(const QString &TemplateFileName)
{
    HbTools::PrintPreviewFromTemplate(TemplateFileName, Document());
}

} // namespace vocab
