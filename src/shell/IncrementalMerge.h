#pragma once

#include "HeadwordMerge.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vocab {

// The combined headword list built a step at a time, so that a window can
// stay alive between the steps: lines are added one by one (each costs one
// collation key), and a commit merges those added since the last commit into
// the list in one pass, which can itself be taken a part at a time. The
// result is HeadwordMerge's for the same lines in the same order:
// HeadwordOrder, no two lines equal, of equal lines the one added first;
// empty lines are left out.
class IncrementalHeadwordMerge {
public:
    // Not while a commit is under way.
    void Add(const QString &line);

    // Lines added and not yet merged.
    qsizetype PendingCount() const { return qsizetype(m_pending.size()); }

    // Merges the lines added since the last commit into the list: sorts them
    // (unless they are in order already, as a list this program wrote is),
    // then puts at most `maxLines` lines of the list in place per call. True
    // once the commit is complete.
    bool CommitSome(qsizetype maxLines);
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
    void beginCommit();

    HeadwordOrder m_order;
    std::vector<Item> m_merged;
    std::vector<Item> m_pending;
    // The commit under way: the list it builds and how far it has taken the
    // merged and the pending lines.
    bool m_committing = false;
    std::vector<Item> m_out;
    std::size_t m_mergedTaken = 0;
    std::size_t m_pendingTaken = 0;
};

} // namespace vocab
