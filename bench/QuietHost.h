#pragma once

// The main window reduced to what a search asks of it: a selected node of a
// given kind and caption, and nothing painted.

#include "SearchHost.h"

#include <benchmark/benchmark.h>

#include <functional>

namespace vocab::bench {

class QuietHost : public SearchHost {
public:
    TreeNodeKind kind = tnkDictionary;
    QString caption;
    std::function<void()> rootOpening;

    TreeNodeKind SelectedNodeKind() const override { return kind; }
    QString SelectedNodeCaption() const override { return caption; }
    void BeginOpening() override {}
    void InvalidatePageControl() override {}
    void SetSearchMode(TreeNodeKind) override {}
    void SearchRootOnOpening() override
    {
        if (rootOpening)
            rootOpening();
    }
    void SetSearchBoxText(const QString &) override {}
    void FocusSearchBox() override {}
    void RefocusSearchBoxAtEnd() override {}
    void UpdateSearchBoxMode() override {}
    void WriteHtmlToBrowser(const QString &page) override { benchmark::DoNotOptimize(page.size()); }
    int SelectedCategoryItem() const override { return -1; }
    void ShowCategories(const QString &, const QStringList &) override {}
};

} // namespace vocab::bench
