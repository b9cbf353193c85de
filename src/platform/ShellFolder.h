#pragma once

// A folder of the shell's namespace and the info tip of one of its items,
// as far as the browser routines use them. This desktop has no such
// namespace, so nothing here makes one: a caller that has a folder of its
// own (a history list, a test) implements it.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

class QWidget;

namespace vocab {

// An item's info tip; for a history item its title, a line feed and its address.
class IQueryInfo {
public:
    virtual ~IQueryInfo() = default;
    virtual QString GetInfoTip(std::uint32_t dwFlags) = 0;
};

class IShellFolder {
public:
    virtual ~IShellFolder() = default;
    // The info tip object of the item `pidl` (an item-id list) of this
    // folder; null when the item has none.
    virtual std::unique_ptr<IQueryInfo> GetUIObjectOf(QWidget *hwndOwner, const QByteArray &pidl) = 0;
};

} // namespace vocab
