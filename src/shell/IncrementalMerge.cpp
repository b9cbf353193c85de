#include "IncrementalMerge.h"

#include <algorithm>

namespace vocab {

void IncrementalHeadwordMerge::Add(const QString &line)
{
    if (line.isEmpty())
        return;
    m_pending.push_back(Item{line, m_order.KeyOf(line)});
}

void IncrementalHeadwordMerge::Commit()
{
    if (m_pending.empty())
        return;
    const auto less = [this](const Item &a, const Item &b) { return compare(a, b) < 0; };
    // A stable sort keeps equal lines in the order they were added.
    if (!std::is_sorted(m_pending.begin(), m_pending.end(), less))
        std::stable_sort(m_pending.begin(), m_pending.end(), less);

    // Equal lines meet side by side; of each run the first stays, and a line
    // already merged comes before an equal one added after it.
    std::vector<Item> out;
    out.reserve(m_merged.size() + m_pending.size());
    const auto keep = [&](Item &item) {
        if (out.empty() || compare(out.back(), item) != 0)
            out.push_back(std::move(item));
    };
    auto merged = m_merged.begin();
    auto pending = m_pending.begin();
    while (merged != m_merged.end() && pending != m_pending.end()) {
        if (less(*pending, *merged))
            keep(*pending++);
        else
            keep(*merged++);
    }
    for (; merged != m_merged.end(); ++merged)
        keep(*merged);
    for (; pending != m_pending.end(); ++pending)
        keep(*pending);
    m_merged = std::move(out);
    m_pending.clear();
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
