#include "SearchBox.h"

#include "IniFile.h"

#include <Qt>

namespace vocab {

std::optional<SearchBoxLook> SearchBoxMode::UpdateSearchBoxMode(bool searchFound, TreeNodeKind selectedKind)
{
    if (searchFound == m_searchFoundShown)
        return std::nullopt;
    m_searchFoundShown = searchFound;
    return SearchBoxLook{
        searchFound ? FoundTextColour : NotFoundTextColour,
        selectedKind == tnkRoot ? SearchChangeHandler::Button_All_dic_Zagolovki
                                : SearchChangeHandler::Button_One_Dic,
    };
}

void SearchBoxMode::ComboBox1DropDown(bool &searchFound)
{
    m_searchFoundSaved = searchFound;
    searchFound = true;
}

void SearchBoxMode::ComboBox1CloseUp(bool &searchFound)
{
    searchFound = m_searchFoundSaved;
}

int ReadEraseStr(const TIniFile &options)
{
    return options.ReadInteger(QStringLiteral("options"), QStringLiteral("EraseStr"), 2);
}

bool IsEraseKey(int key, int EraseStr, bool searchBoxEmpty)
{
    if (searchBoxEmpty)
        return false;
    return (key == Qt::Key_Shift && EraseStr == 0) || (key == Qt::Key_Delete && EraseStr == 1);
}

HistoryAddition AddToHistory(const QStringList &items, const QString &Word)
{
    HistoryAddition addition;
    addition.word = Word;
    if (items.isEmpty()) {
        addition.append = true;
        return addition;
    }
    // After the insertion the old item k stands at k + 1.
    for (qsizetype k = 0; k < items.size(); ++k) {
        if (items.at(k).compare(Word, Qt::CaseInsensitive) == 0) {
            addition.removeIndex = k + 1;
            addition.selectTop = true;
            return addition;
        }
    }
    if (items.size() + 1 >= 25)
        addition.removeIndex = 24;
    return addition;
}

void ApplyHistoryAddition(QStringList &items, const HistoryAddition &addition)
{
    if (addition.append) {
        items.append(addition.word);
        return;
    }
    items.insert(0, addition.word);
    if (addition.removeIndex >= 0 && addition.removeIndex < items.size())
        items.removeAt(addition.removeIndex);
}

} // namespace vocab
