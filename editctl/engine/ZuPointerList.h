#pragma once
// The list interface the engine uses: an ordered list of data pointers with a
// remembered current position (1-based; 0 when the list is empty). Derived lists
// hear about insertions, removals and moves of the current position through the
// three hooks. Removing only unlinks; deleting also destroys the data object.

#include "editctl/engine/ZuErrors.h"

#include <cstdint>

// The data objects a list may delete.
class ZuListItem {
public:
    virtual ~ZuListItem() = default;
};

class ZuPointerList {
public:
    virtual ~ZuPointerList() = default;

    // Hooks: indexes are 1-based.
    virtual void ItemsInserted(std::uint32_t first, std::uint32_t n) = 0;
    virtual void ItemsRemoving(std::uint32_t first, std::uint32_t n) = 0;
    virtual void CurrentChanged(std::uint32_t previous) = 0;

    virtual std::uint32_t Count() const = 0;
    virtual std::uint32_t IndexOf(const ZuListItem* data) const = 0; // 0 when absent
    virtual std::uint32_t CurrentIndex() const = 0;

    virtual ZuListItem* Remove(ZuListItem* data) = 0;
    virtual ZuListItem* RemoveCurrent() = 0;
    virtual ZuListItem* RemoveAt(std::uint32_t index) = 0;
    virtual ZuErr InsertAfterCurrent(ZuListItem* data) = 0;
    virtual ZuErr InsertAfter(std::uint32_t index, ZuListItem* data) = 0; // 0: at the head
    virtual ZuErr AddTail(ZuListItem* data) = 0;
    virtual ZuErr AddHead(ZuListItem* data) = 0;
    virtual ZuListItem* RemoveTail() = 0;
    virtual ZuListItem* RemoveHead() = 0;
    virtual void RemoveAll() = 0;

    virtual ZuListItem* ItemAt(std::uint32_t index) const = 0; // the current position stays
    virtual ZuListItem* Current() const = 0;
    virtual ZuListItem* Last() const = 0;
    virtual ZuListItem* First() const = 0;
    virtual ZuListItem* Find(const ZuListItem* data) = 0; // and makes it current
    virtual ZuListItem* GoTo(std::uint32_t index) = 0;    // makes the item current
    virtual ZuListItem* GoLast() = 0;
    virtual ZuListItem* GoFirst() = 0;
    virtual ZuListItem* Forward(std::uint32_t n) = 0;
    virtual ZuListItem* Backward(std::uint32_t n) = 0;

    virtual void DeleteAt(std::uint32_t index) = 0;
    virtual void DeleteHead(std::uint32_t n) = 0;
    virtual void DeleteTail(std::uint32_t n) = 0;
    virtual void DeleteAll() = 0;
};
