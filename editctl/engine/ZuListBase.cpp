#include "editctl/engine/ZuListBase.h"

#include <new>

ZuListBase::~ZuListBase()
{
    while (count_ != 0) {
        Node* node = first_;
        first_ = node->next;
        delete node;
        --count_;
    }
}

ZuListBase::Node* ZuListBase::PeekNode(std::uint32_t index) const
{
    if (count_ == 0 || index < 1 || index > count_)
        return nullptr;
    Node* node = first_;
    if (index - 1 <= count_ - index) {
        for (std::uint32_t i = 1; i < index; ++i)
            node = node->next;
    } else {
        node = first_->previous;
        for (std::uint32_t i = count_; i > index; --i)
            node = node->previous;
    }
    return node;
}

ZuListBase::Node* ZuListBase::NodeAt(std::uint32_t index, bool notify)
{
    lastWalkSteps_ = 0;
    if (count_ == 0)
        return nullptr;
    if (index < 1)
        index = 1;
    if (index > count_)
        index = count_;
    if (index == currentIndex_)
        return current_;
    const std::uint32_t previous = currentIndex_;
    const std::uint32_t fromFirst = index - 1;
    const std::uint32_t fromLast = count_ - index;
    const std::uint32_t fromCurrent = index > currentIndex_ ? index - currentIndex_ : currentIndex_ - index;
    Node* node;
    std::uint32_t at;
    if (current_ != nullptr && fromCurrent <= fromFirst && fromCurrent <= fromLast) {
        node = current_;
        at = currentIndex_;
    } else if (fromFirst <= fromLast) {
        node = first_;
        at = 1;
    } else {
        node = first_->previous;
        at = count_;
    }
    while (at < index) {
        node = node->next;
        ++at;
        ++lastWalkSteps_;
    }
    while (at > index) {
        node = node->previous;
        --at;
        ++lastWalkSteps_;
    }
    current_ = node;
    currentIndex_ = index;
    if (notify && previous != index)
        CurrentChanged(previous);
    return node;
}

std::uint32_t ZuListBase::IndexOf(const ZuListItem* data) const
{
    Node* node = first_;
    for (std::uint32_t i = 1; i <= count_; ++i, node = node->next)
        if (node->data == data)
            return i;
    return 0;
}

ZuErr ZuListBase::InsertBefore(Node* before, ZuListItem* data, std::uint32_t index)
{
    if (count_ == UINT32_MAX)
        return ZuErrLineCount;
    Node* node = new (std::nothrow) Node{nullptr, nullptr, data};
    if (node == nullptr)
        return ZuErrNoMemory;
    if (count_ == 0) {
        node->previous = node;
        node->next = node;
        first_ = node;
        current_ = node;
        currentIndex_ = 1;
    } else {
        // before == null appends at the tail.
        Node* next = before != nullptr ? before : first_;
        node->next = next;
        node->previous = next->previous;
        next->previous->next = node;
        next->previous = node;
        if (index == 1)
            first_ = node;
        if (index <= currentIndex_)
            ++currentIndex_;
    }
    ++count_;
    ItemsInserted(index, 1);
    return ZuOk;
}

ZuListItem* ZuListBase::Unlink(Node* node, std::uint32_t index)
{
    ItemsRemoving(index, 1);
    ZuListItem* data = node->data;
    if (count_ == 1) {
        first_ = nullptr;
        current_ = nullptr;
        currentIndex_ = 0;
    } else {
        if (node == current_) {
            // The next item becomes current; the previous one when this was the last.
            if (index == count_) {
                current_ = node->previous;
                --currentIndex_;
            } else {
                current_ = node->next;
            }
        } else if (index < currentIndex_) {
            --currentIndex_;
        }
        if (node == first_)
            first_ = node->next;
        node->previous->next = node->next;
        node->next->previous = node->previous;
    }
    --count_;
    delete node;
    return data;
}

ZuListItem* ZuListBase::Remove(ZuListItem* data)
{
    const std::uint32_t index = IndexOf(data);
    return index == 0 ? nullptr : RemoveAt(index);
}

ZuListItem* ZuListBase::RemoveCurrent()
{
    return current_ == nullptr ? nullptr : Unlink(current_, currentIndex_);
}

ZuListItem* ZuListBase::RemoveAt(std::uint32_t index)
{
    Node* node = PeekNode(index);
    return node == nullptr ? nullptr : Unlink(node, index);
}

ZuErr ZuListBase::InsertAfterCurrent(ZuListItem* data)
{
    return InsertAfter(currentIndex_, data);
}

ZuErr ZuListBase::InsertAfter(std::uint32_t index, ZuListItem* data)
{
    if (index > count_)
        index = count_;
    Node* before = index == count_ ? nullptr : PeekNode(index + 1);
    return InsertBefore(before, data, index + 1);
}

ZuErr ZuListBase::AddTail(ZuListItem* data)
{
    return InsertAfter(count_, data);
}

ZuErr ZuListBase::AddHead(ZuListItem* data)
{
    return InsertAfter(0, data);
}

ZuListItem* ZuListBase::RemoveTail()
{
    return RemoveAt(count_);
}

ZuListItem* ZuListBase::RemoveHead()
{
    return RemoveAt(1);
}

void ZuListBase::RemoveAll()
{
    if (count_ == 0)
        return;
    ItemsRemoving(1, count_);
    while (count_ != 0) {
        Node* node = first_;
        first_ = count_ == 1 ? nullptr : node->next;
        delete node;
        --count_;
    }
    current_ = nullptr;
    currentIndex_ = 0;
}

ZuListItem* ZuListBase::ItemAt(std::uint32_t index) const
{
    Node* node = PeekNode(index);
    return node == nullptr ? nullptr : node->data;
}

ZuListItem* ZuListBase::Find(const ZuListItem* data)
{
    const std::uint32_t index = IndexOf(data);
    return index == 0 ? nullptr : GoTo(index);
}

ZuListItem* ZuListBase::GoTo(std::uint32_t index)
{
    Node* node = NodeAt(index);
    return node == nullptr ? nullptr : node->data;
}

ZuListItem* ZuListBase::Forward(std::uint32_t n)
{
    if (count_ == 0)
        return nullptr;
    // Wraps round the ring.
    const std::uint32_t index = std::uint32_t((std::uint64_t(currentIndex_) - 1 + n % count_) % count_ + 1);
    return GoTo(index);
}

ZuListItem* ZuListBase::Backward(std::uint32_t n)
{
    if (count_ == 0)
        return nullptr;
    const std::uint32_t index = std::uint32_t((std::uint64_t(currentIndex_) - 1 + count_ - n % count_) % count_ + 1);
    return GoTo(index);
}

void ZuListBase::DeleteAt(std::uint32_t index)
{
    delete RemoveAt(index);
}

void ZuListBase::DeleteHead(std::uint32_t n)
{
    for (; n != 0 && count_ != 0; --n)
        delete RemoveHead();
}

void ZuListBase::DeleteTail(std::uint32_t n)
{
    for (; n != 0 && count_ != 0; --n)
        delete RemoveTail();
}

void ZuListBase::DeleteAll()
{
    DeleteHead(count_);
}
