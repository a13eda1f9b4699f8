#include "editctl/engine/ZuTextRange.h"

#include <algorithm>

void ZuTextRange::Clear()
{
    type = ZuRangeNone;
    start.Clear();
    end.Clear();
}

void ZuTextRange::Init(ZuTextPosition s, ZuTextPosition e, std::uint8_t t)
{
    start = s;
    end = e;
    type = t;
}

void ZuTextRange::InitXY(std::uint32_t x1, std::uint32_t y1, std::uint32_t x2, std::uint32_t y2, std::uint8_t t)
{
    Init({x1, y1}, {x2, y2}, t);
}

void ZuTextRange::Assign(const ZuTextRange& other)
{
    *this = other;
    Normalize();
}

void ZuTextRange::Normalize()
{
    if (end < start)
        std::swap(start, end);
}

bool ZuTextRange::operator==(const ZuTextRange& other) const
{
    if (type != other.type)
        return false;
    if (type == ZuRangeLine)
        return LowestLine() == other.LowestLine() && HighestLine() == other.HighestLine();
    return First() == other.First() && Last() == other.Last();
}

bool ZuTextRange::Contains(ZuTextPosition p) const
{
    if (IsEmpty())
        return false;
    if (IsStream())
        return First() <= p && p < Last();
    if (type == ZuRangeLine)
        return LowestLine() <= p.y && p.y <= HighestLine();
    if (type == ZuRangeColumn)
        return LowestLine() <= p.y && p.y <= HighestLine() && SmallestX() <= p.x && p.x < LargestX();
    return false;
}

bool ZuTextRange::CoversLine(std::uint32_t line) const
{
    return !IsEmpty() && LowestLine() <= line && line <= HighestLine();
}

std::uint32_t ZuTextRange::StartColumnOnLine(std::uint32_t line) const
{
    if (!CoversLine(line))
        return 0;
    if (IsStream())
        return line == First().y ? First().x : 0;
    return type == ZuRangeColumn ? SmallestX() : 0;
}

std::uint32_t ZuTextRange::EndColumnOnLine(std::uint32_t line) const
{
    if (!CoversLine(line))
        return 0;
    if (IsStream())
        return line == Last().y ? Last().x : ZuEndOfLine;
    return type == ZuRangeColumn ? LargestX() : ZuEndOfLine;
}

bool ZuTextRange::ContainsPosition(ZuTextPosition p) const
{
    return CoversLine(p.y) && StartColumnOnLine(p.y) <= p.x && p.x < EndColumnOnLine(p.y);
}

bool ZuTextRange::ContainsRange(const ZuTextRange& other) const
{
    if (IsEmpty() || other.IsEmpty())
        return false;
    const bool linesWithin = LowestLine() <= other.LowestLine() && other.HighestLine() <= HighestLine();
    if (type == ZuRangeLine)
        return linesWithin;
    if (type == ZuRangeColumn) {
        const bool wholeLines = SmallestX() == 0 && LargestX() >= ZuEndOfLine;
        if (other.type == ZuRangeColumn)
            return linesWithin && SmallestX() <= other.SmallestX() && other.LargestX() <= LargestX();
        if (other.type == ZuRangeLine)
            return wholeLines && linesWithin;
        if (wholeLines)
            return linesWithin;
        return other.LowestLine() == other.HighestLine() && linesWithin && SmallestX() <= other.SmallestX() &&
               other.LargestX() <= LargestX();
    }
    if (IsStream()) {
        if (other.type == ZuRangeLine)
            return First().y < other.LowestLine() && other.HighestLine() < Last().y;
        return Contains(other.First()) && (Contains(other.Last()) || other.Last() == Last());
    }
    return false;
}

void ZuTextRange::MoveTo(ZuTextPosition p)
{
    ZuTextPosition& first = FirstRef();
    ZuTextPosition& last = LastRef();
    const std::uint32_t lines = last.y - first.y;
    if (type == ZuRangeColumn) {
        // The end with the smaller x takes the new x; the other keeps the width.
        ZuTextPosition& left = start.x <= end.x ? start : end;
        ZuTextPosition& right = start.x <= end.x ? end : start;
        const std::uint32_t width = right.x - left.x;
        left.x = p.x;
        right.x = p.x + width;
    } else if (IsStream() && lines == 0) {
        last.x = p.x + (last.x - first.x);
        first.x = p.x;
    } else if (IsStream()) {
        first.x = p.x;
    }
    first.y = p.y;
    last.y = p.y + lines;
}

void ZuTextRange::AdjustForRemoval(ZuTextPosition& p, const ZuTextRange& r)
{
    if (r.IsEmpty())
        return;
    if (r.type == ZuRangeLine) {
        const std::uint32_t a = r.LowestLine();
        const std::uint32_t b = r.HighestLine();
        if (p.y > b)
            p.y -= b - a + 1;
        else if (p.y >= a)
            p.y = a;
    } else if (r.type == ZuRangeColumn) {
        const std::uint32_t l = r.SmallestX();
        const std::uint32_t w = r.LargestX() - l;
        if (r.LowestLine() <= p.y && p.y <= r.HighestLine() && p.x >= l)
            p.x = std::max(l, p.x - std::min(p.x, w));
    } else if (r.IsStream()) {
        const ZuTextPosition f = r.First();
        const ZuTextPosition l = r.Last();
        if (p < f)
            return;
        if (p <= l) {
            p = f;
            return;
        }
        if (p.y == l.y)
            p.x = p.x - l.x + f.x;
        p.y -= l.y - f.y;
    }
}

void ZuTextRange::AdjustForInsertion(ZuTextPosition& p, const ZuTextRange& r)
{
    if (r.IsEmpty())
        return;
    if (r.type == ZuRangeLine) {
        if (p.y >= r.LowestLine())
            p.y += r.HighestLine() - r.LowestLine() + 1;
    } else if (r.type == ZuRangeColumn) {
        const std::uint32_t l = r.SmallestX();
        if (r.LowestLine() <= p.y && p.y <= r.HighestLine() && p.x >= l)
            p.x = std::min<std::uint64_t>(ZuEndOfLine, std::uint64_t(p.x) + (r.LargestX() - l));
    } else if (r.IsStream()) {
        const ZuTextPosition f = r.First();
        const ZuTextPosition l = r.Last();
        if (p < f)
            return;
        if (p.y > f.y) {
            p.y += l.y - f.y;
            return;
        }
        // On the insertion's first line at or after it: carried to its last line. Lines
        // never exceed the end-of-line column, so the column is held there.
        p.x = std::uint32_t(std::min<std::uint64_t>(ZuEndOfLine, std::uint64_t(l.x) + (p.x - f.x)));
        p.y = l.y;
    }
}

ZuTextPosition ZuTextRange::AdjustedForRemoval(ZuTextPosition p, const ZuTextRange& r)
{
    AdjustForRemoval(p, r);
    return p;
}

ZuTextPosition ZuTextRange::AdjustedForInsertion(ZuTextPosition p, const ZuTextRange& r)
{
    AdjustForInsertion(p, r);
    return p;
}

void ZuTextRange::AdjustForRemoval(const ZuTextRange& r)
{
    if (IsEmpty() || r.IsEmpty())
        return;
    if (r.ContainsRange(*this)) {
        type = ZuRangeNone;
        return;
    }
    if (r.type == ZuRangeLine) {
        const std::uint32_t a = r.LowestLine();
        const std::uint32_t b = r.HighestLine();
        if (IsStream()) {
            // The text really removed is the stream from (0, a) to (0, b + 1): an end
            // inside the removed lines lands where that stream began.
            for (ZuTextPosition* p : {&start, &end})
                if (a <= p->y && p->y <= b)
                    *p = {0, a};
            AdjustForRemoval(start, r);
            AdjustForRemoval(end, r);
            return;
        }
        if (type == ZuRangeLine) {
            const bool endIsLater = end.y >= start.y;
            ZuTextPosition& later = endIsLater ? end : start;
            ZuTextPosition& earlier = endIsLater ? start : end;
            const bool laterInside = a <= later.y && later.y <= b;
            AdjustForRemoval(start, r);
            AdjustForRemoval(end, r);
            // The line the later end stood on went: the range now ends on the line before.
            if (laterInside && later.y > earlier.y)
                --later.y;
            return;
        }
        AdjustForRemoval(start, r);
        AdjustForRemoval(end, r);
        return;
    }
    if (r.type == ZuRangeColumn) {
        if (type == ZuRangeLine)
            return;
        if (type == ZuRangeColumn && !(r.LowestLine() <= LowestLine() && HighestLine() <= r.HighestLine()))
            return;
    }
    AdjustForRemoval(start, r);
    AdjustForRemoval(end, r);
}

void ZuTextRange::AdjustForInsertion(const ZuTextRange& r)
{
    if (IsEmpty() || r.IsEmpty())
        return;
    if (r.type == ZuRangeColumn && type == ZuRangeLine)
        return;
    if (type == ZuRangeLine) {
        FirstRef().x = 0;
        LastRef().x = ZuEndOfLine;
    }
    AdjustForInsertion(start, r);
    AdjustForInsertion(end, r);
}

ZuTextRange ZuTextRange::AdjustedForRemoval(const ZuTextRange& r) const
{
    ZuTextRange copy = *this;
    copy.AdjustForRemoval(r);
    return copy;
}

ZuTextRange ZuTextRange::AdjustedForInsertion(const ZuTextRange& r) const
{
    ZuTextRange copy = *this;
    copy.AdjustForInsertion(r);
    return copy;
}
