#pragma once

// The enumerations and sets of the hosting core, and the two tables that
// turn its option sets into the host flags and the download flags the
// browser control reads.

#include "HostFlags.h"

#include <array>
#include <cstdint>
#include <initializer_list>

namespace vocab {

// A set of the members of an enumeration whose ordinals run from 0 to Count-1.
template <typename E, int Count>
class TSet {
    static_assert(Count <= 32);

public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members)
    {
        for (E m : members)
            insert(m);
    }

    static constexpr TSet all()
    {
        TSet s;
        for (int i = 0; i < Count; ++i)
            s.insert(static_cast<E>(i));
        return s;
    }

    constexpr bool contains(E m) const { return (m_bits & bit(m)) != 0; }
    constexpr bool empty() const { return m_bits == 0; }
    constexpr TSet &insert(E m)
    {
        m_bits |= bit(m);
        return *this;
    }
    constexpr TSet &remove(E m)
    {
        m_bits &= ~bit(m);
        return *this;
    }
    constexpr bool operator==(const TSet &) const = default;

private:
    static constexpr std::uint32_t bit(E m) { return std::uint32_t{1} << static_cast<int>(m); }
    std::uint32_t m_bits = 0;
};

enum TDragDropHandlingType : std::uint8_t { ddtMS, ddtMy, ddtCustom, ddtNo };

enum TDocDesignMode : std::uint8_t { ddmOn, ddmOff, ddmInherit, ddmUnknown };

// A member of ordinal n below 10 stands for the context-menu kind n the
// browser asks about; rcmAll stands for every kind.
enum TIEPopupMenu : std::uint8_t {
    rcmDefault,
    rcmImage,
    rcmControl,
    rcmTable,
    rcmSelText,
    rcmAnchor,
    rcmUnKnown,
    rcmImageArt,
    rcmImgDynSrc,
    rcmDebug,
    rcmAll,
};
using TIEPopupMenus = TSet<TIEPopupMenu, rcmAll + 1>;

enum TIEPopupMenuItem : std::uint8_t {
    rcsBack,
    rcsForward,
    rcsSavePageBkg,
    rcsSetAsBkg,
    rcsCopyBkg,
    rcsSetAsDeskT,
    rcsSelectAll,
    rcsPaste,
    rcsCreateSC,
    rcsAddToFav,
    rcsEncoding,
    rcsRefresh,
    rcsViewSource,
    rcsProperties,
    rcsPrint,
    rcsOpenNWindow,
    rcsOpenLink,
};
inline constexpr int IEPopupMenuItemCount = rcsOpenLink + 1;
using TIEPopupMenuItems = TSet<TIEPopupMenuItem, IEPopupMenuItemCount>;

enum TScriptErrorAction : std::uint8_t { eaContinue, eaCancel, eaAskUser };

enum TDownloadControlOption : std::uint8_t {
    DownloadImages,
    DownloadVideos,
    DownloadBGSounds,
    DontExecuteScripts,
    DontExecuteJava,
    DontExecuteActiveX,
    DontDownloadActiveX,
    DownloadButDontDisplay,
    DontDownloadFrame,
    CheckPageResynchronize,
    DownloadAndIgnoreCache,
    DontDownloadBehaviors,
    SuppressedMetaCharset,
    DisableUrlIfEncodingUTF8,
    EnableUrlIfEncodingUTF8,
    ForceOfflineMode,
    DontPerformClientPull,
    DownloadInSilentMode,
    WorkOffline,
};
inline constexpr int DownloadControlOptionCount = WorkOffline + 1;
using TDownloadControlOptions = TSet<TDownloadControlOption, DownloadControlOptionCount>;

enum TUserInterfaceOption : std::uint8_t {
    DisableTextSelect,
    DisableHelpMenu,
    DontUse3DBorders,
    DontUseScrollBars,
    PostponeScriptUntilActive,
    ForceOpenNewWindow,
    Reserved_OFFSCREEN,
    ForceFlatScrollBars,
    InsertDivTagOnEditMode,
    ActivateUIOnlyOnDocClick,
    ConsultBeforeRetrievingBehavior,
    CheckFontSupportsCodePage,
    DisableSubmitUrlInUTF8,
    EnableSubmitUrlInUTF8,
    EnablesFormsAutoComplete,
    ForceSameWindowNavigation,
    EmableImeLocalLanguages,
    EnableThemes,
    DisableThemes,
    DisablePicsRatings,
    DisableFrameSetBorder,
    DisablesAutoNameSpaceCorrection,
    DisableLocalFileAccess,
    DisableUntrustedProtocol,
    CheckNavigationDelegatedToHost,
    EnableRedirectNotification,
    EnableDomWindlessControls,
    EnableWindowedControls,
    ForceUserActivationOnActiveXJava,
};
inline constexpr int UserInterfaceOptionCount = ForceUserActivationOnActiveXJava + 1;
using TUserInterfaceOptions = TSet<TUserInterfaceOption, UserInterfaceOptionCount>;

// The host flag of each TUserInterfaceOption, by ordinal.
inline constexpr std::array<std::uint32_t, UserInterfaceOptionCount> UserInterfaceFlags{
    DOCHOSTUIFLAG_DIALOG,
    DOCHOSTUIFLAG_DISABLE_HELP_MENU,
    DOCHOSTUIFLAG_NO3DBORDER,
    DOCHOSTUIFLAG_SCROLL_NO,
    DOCHOSTUIFLAG_DISABLE_SCRIPT_INACTIVE,
    DOCHOSTUIFLAG_OPENNEWWIN,
    DOCHOSTUIFLAG_DISABLE_OFFSCREEN,
    DOCHOSTUIFLAG_FLAT_SCROLLBAR,
    DOCHOSTUIFLAG_DIV_BLOCKDEFAULT,
    DOCHOSTUIFLAG_ACTIVATE_CLIENTHIT_ONLY,
    DOCHOSTUIFLAG_OVERRIDEBEHAVIORFACTORY,
    DOCHOSTUIFLAG_CODEPAGELINKEDFONTS,
    DOCHOSTUIFLAG_URL_ENCODING_DISABLE_UTF8,
    DOCHOSTUIFLAG_URL_ENCODING_ENABLE_UTF8,
    DOCHOSTUIFLAG_ENABLE_FORMS_AUTOCOMPLETE,
    DOCHOSTUIFLAG_ENABLE_INPLACE_NAVIGATION,
    DOCHOSTUIFLAG_IME_ENABLE_RECONVERSION,
    DOCHOSTUIFLAG_THEME,
    DOCHOSTUIFLAG_NOTHEME,
    DOCHOSTUIFLAG_NOPICS,
    DOCHOSTUIFLAG_NO3DOUTERBORDER,
    DOCHOSTUIFLAG_DISABLE_EDIT_NS_FIXUP,
    DOCHOSTUIFLAG_LOCAL_MACHINE_ACCESS_CHECK,
    DOCHOSTUIFLAG_DISABLE_UNTRUSTEDPROTOCOL,
    DOCHOSTUIFLAG_HOST_NAVIGATES,
    DOCHOSTUIFLAG_ENABLE_REDIRECT_NOTIFICATION,
    DOCHOSTUIFLAG_USE_WINDOWLESS_SELECTCONTROL,
    DOCHOSTUIFLAG_USE_WINDOWED_SELECTCONTROL,
    DOCHOSTUIFLAG_ENABLE_ACTIVEX_INACTIVATE_MODE,
};

// The download flag of each TDownloadControlOption, by ordinal.
inline constexpr std::array<std::uint32_t, DownloadControlOptionCount> DownloadControlFlags{
    DLCTL_DLIMAGES,
    DLCTL_VIDEOS,
    DLCTL_BGSOUNDS,
    DLCTL_NO_SCRIPTS,
    DLCTL_NO_JAVA,
    DLCTL_NO_RUNACTIVEXCTLS,
    DLCTL_NO_DLACTIVEXCTLS,
    DLCTL_DOWNLOADONLY,
    DLCTL_NO_FRAMEDOWNLOAD,
    DLCTL_RESYNCHRONIZE,
    DLCTL_PRAGMA_NO_CACHE,
    DLCTL_NO_BEHAVIORS,
    DLCTL_NO_METACHARSET,
    DLCTL_URL_ENCODING_DISABLE_UTF8,
    DLCTL_URL_ENCODING_ENABLE_UTF8,
    DLCTL_FORCEOFFLINE,
    DLCTL_NO_CLIENTPULL,
    DLCTL_SILENT,
    DLCTL_OFFLINE,
};

// The sum of the table values of the members in the set. The values are
// distinct single bits, so the sum is their bitwise or; it is unsigned, as
// the highest of them is the top bit.
template <typename E, int Count, std::size_t N>
constexpr std::uint32_t flagSum(const TSet<E, Count> &set, const std::array<std::uint32_t, N> &table)
{
    static_assert(N == Count);
    std::uint32_t sum = 0;
    for (int i = 0; i < Count; ++i)
        if (set.contains(static_cast<E>(i)))
            sum += table[static_cast<std::size_t>(i)];
    return sum;
}

} // namespace vocab
