#pragma once

#include "HeadwordMerge.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vocab {

// The combined headword list built a step at a time, so that a window can
// stay alive between the steps: lines are added one by one (each costs one
// collation key), and Commit merges those added since the last commit into
// the list in one pass. The result is HeadwordMerge's for the same lines in
// the same order: HeadwordOrder, no two lines equal, of equal lines the one
// added first; empty lines are left out.
class IncrementalHeadwordMerge {
public:
    void Add(const QString &line);

    // Lines added and not yet merged.
    qsizetype PendingCount() const { return qsizetype(m_pending.size()); }

    // Sorts the lines added since the last commit and merges them into the
    // list. Costs a pass over the whole list; lines already in order (a list
    // this program wrote) are not sorted again.
    void Commit();

    // The merged list; lines not yet committed are not in it.
    QStringList Lines() const;
    qsizetype Count() const { return qsizetype(m_merged.size()); }

private:
    struct Item {
        QString line;
        HeadwordOrder::Key key;
    };
    int compare(const Item &a, const Item &b) const { return m_order.Compare(a.line, a.key, b.line, b.key); }

    HeadwordOrder m_order;
    std::vector<Item> m_merged;
    std::vector<Item> m_pending;
};

} // namespace vocab
