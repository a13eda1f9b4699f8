#pragma once
// A circular doubly linked list of pointers with a remembered current node.
// Positioning walks from whichever of the first, current and last node is
// nearest, so walking item by item in either direction costs one step each.

#include "editctl/engine/ZuPointerList.h"

class ZuListBase : public ZuPointerList {
public:
    struct Node {
        Node* previous;
        Node* next;
        ZuListItem* data;
    };

    ZuListBase() = default;
    ZuListBase(const ZuListBase&) = delete;
    ZuListBase& operator=(const ZuListBase&) = delete;
    ~ZuListBase() override; // unlinks; the data are not deleted

    void ItemsInserted(std::uint32_t, std::uint32_t) override {}
    void ItemsRemoving(std::uint32_t, std::uint32_t) override {}
    void CurrentChanged(std::uint32_t) override {}

    std::uint32_t Count() const override { return count_; }
    std::uint32_t IndexOf(const ZuListItem* data) const override;
    std::uint32_t CurrentIndex() const override { return currentIndex_; }

    ZuListItem* Remove(ZuListItem* data) override;
    ZuListItem* RemoveCurrent() override;
    ZuListItem* RemoveAt(std::uint32_t index) override;
    ZuErr InsertAfterCurrent(ZuListItem* data) override;
    ZuErr InsertAfter(std::uint32_t index, ZuListItem* data) override;
    ZuErr AddTail(ZuListItem* data) override;
    ZuErr AddHead(ZuListItem* data) override;
    ZuListItem* RemoveTail() override;
    ZuListItem* RemoveHead() override;
    void RemoveAll() override;

    ZuListItem* ItemAt(std::uint32_t index) const override;
    ZuListItem* Current() const override { return current_ != nullptr ? current_->data : nullptr; }
    ZuListItem* Last() const override { return first_ != nullptr ? first_->previous->data : nullptr; }
    ZuListItem* First() const override { return first_ != nullptr ? first_->data : nullptr; }
    ZuListItem* Find(const ZuListItem* data) override;
    ZuListItem* GoTo(std::uint32_t index) override;
    ZuListItem* GoLast() override { return GoTo(count_); }
    ZuListItem* GoFirst() override { return GoTo(1); }
    ZuListItem* Forward(std::uint32_t n) override;
    ZuListItem* Backward(std::uint32_t n) override;

    void DeleteAt(std::uint32_t index) override;
    void DeleteHead(std::uint32_t n) override;
    void DeleteTail(std::uint32_t n) override;
    void DeleteAll() override;

    // The node at an index (clamped to 1..count), made current; the hook is told
    // when asked and the index changed. Null when the list is empty.
    Node* NodeAt(std::uint32_t index, bool notify = true);
    // Steps the last NodeAt walk took (for tests of the nearest-end rule).
    std::uint32_t LastWalkSteps() const { return lastWalkSteps_; }

private:
    ZuErr InsertBefore(Node* before, ZuListItem* data, std::uint32_t index);
    ZuListItem* Unlink(Node* node, std::uint32_t index);
    Node* PeekNode(std::uint32_t index) const;

    std::uint32_t count_ = 0;
    Node* first_ = nullptr;
    Node* current_ = nullptr;
    std::uint32_t currentIndex_ = 0;
    std::uint32_t lastWalkSteps_ = 0;
};
