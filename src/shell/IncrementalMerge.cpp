#include "IncrementalMerge.h"

#include <algorithm>
#include <cassert>

namespace vocab {

void IncrementalHeadwordMerge::Add(const QString &line)
{
    assert(!m_committing);
    if (line.isEmpty())
        return;
    m_pending.push_back(Item{line, m_order.KeyOf(line)});
}

void IncrementalHeadwordMerge::beginCommit()
{
    const auto less = [this](const Item &a, const Item &b) { return compare(a, b) < 0; };
    // A stable sort keeps equal lines in the order they were added.
    if (!std::is_sorted(m_pending.begin(), m_pending.end(), less))
        std::stable_sort(m_pending.begin(), m_pending.end(), less);
    m_out.clear();
    m_out.reserve(m_merged.size() + m_pending.size());
    m_mergedTaken = 0;
    m_pendingTaken = 0;
    m_committing = true;
}

bool IncrementalHeadwordMerge::CommitSome(qsizetype maxLines)
{
    if (!m_committing) {
        if (m_pending.empty())
            return true;
        beginCommit();
    }
    // Equal lines meet side by side; of each run the first stays, and a line
    // already merged comes before an equal one added after it.
    const auto keep = [this](Item &item) {
        if (m_out.empty() || compare(m_out.back(), item) != 0)
            m_out.push_back(std::move(item));
    };
    for (qsizetype n = 0; n < maxLines; ++n) {
        const bool mergedLeft = m_mergedTaken < m_merged.size();
        const bool pendingLeft = m_pendingTaken < m_pending.size();
        if (!mergedLeft && !pendingLeft)
            break;
        if (pendingLeft && (!mergedLeft || compare(m_pending[m_pendingTaken], m_merged[m_mergedTaken]) < 0))
            keep(m_pending[m_pendingTaken++]);
        else
            keep(m_merged[m_mergedTaken++]);
    }
    if (m_mergedTaken < m_merged.size() || m_pendingTaken < m_pending.size())
        return false;
    // What stays behind in the old vectors was moved from and costs nothing to drop.
    m_merged = std::move(m_out);
    m_out = {};
    m_pending.clear();
    m_committing = false;
    return true;
}

void IncrementalHeadwordMerge::Commit()
{
    while (!CommitSome(qsizetype(1) << 30)) {
    }
}

QStringList IncrementalHeadwordMerge::Lines() const
{
    QStringList lines;
    lines.reserve(qsizetype(m_merged.size()));
    for (const Item &item : m_merged)
        lines.append(item.line);
    return lines;
}

} // namespace vocab
