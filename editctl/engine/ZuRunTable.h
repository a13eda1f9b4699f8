#pragma once
// A table of runs over a block's bytes, sorted by start offset: each run covers
// from its start to the next run's start (the last to the end of the block). An
// empty table means the default value everywhere; a table that is not empty
// always has a run at offset 0.

#include <cstdint>
#include <utility>
#include <vector>

template <typename Run> class ZuRunTable {
public:
    std::vector<Run> runs;

    std::uint32_t Count() const { return std::uint32_t(runs.size()); }
    bool Empty() const { return runs.empty(); }
    void Free() { runs.clear(); }
    void Swap(ZuRunTable& other) { runs.swap(other.runs); }

    // The run containing an offset. Of several runs starting at the same offset,
    // the first or the last. Fewer than two runs give 0.
    std::uint32_t FindRun(std::uint32_t offset, bool first = false) const
    {
        const std::uint32_t n = Count();
        if (n < 2)
            return 0;
        if (offset > runs[n - 1].start)
            return n - 1;
        std::uint32_t lo = 0, hi = n; // the first run starting after offset
        while (lo < hi) {
            const std::uint32_t mid = (lo + hi) / 2;
            if (runs[mid].start <= offset)
                lo = mid + 1;
            else
                hi = mid;
        }
        std::uint32_t i = lo == 0 ? 0 : lo - 1;
        if (first)
            while (i > 0 && runs[i - 1].start == runs[i].start)
                --i;
        return i;
    }

    // The run values of bytes [from, to), re-based to start at 0.
    ZuRunTable Slice(std::uint32_t from, std::uint32_t to) const
    {
        ZuRunTable part;
        if (runs.empty() || to <= from)
            return part;
        const std::uint32_t firstRun = FindRun(from);
        Run head = runs[firstRun];
        head.start = 0;
        part.runs.push_back(std::move(head));
        for (std::uint32_t i = firstRun + 1; i < Count() && runs[i].start < to; ++i) {
            if (runs[i].start <= from)
                continue;
            Run run = runs[i];
            run.start -= from;
            part.runs.push_back(std::move(run));
        }
        return part;
    }

    // Appends the runs of a segment of `length` bytes that begins at `offset`.
    void AppendSegment(const ZuRunTable& segment, std::uint32_t offset, std::uint32_t length)
    {
        if (length == 0)
            return;
        if (segment.runs.empty()) {
            if (!runs.empty())
                runs.push_back(Run::Default(offset));
            return;
        }
        if (runs.empty() && offset > 0)
            runs.push_back(Run::Default(0));
        for (const Run& source : segment.runs) {
            Run run = source;
            run.start += offset;
            // A run of the segment at its start replaces a run of zero length there.
            if (!runs.empty() && runs.back().start == run.start)
                runs.back() = std::move(run);
            else
                runs.push_back(std::move(run));
        }
    }

    // Makes a run start at offset (a copy of the run covering it) and returns its index.
    std::uint32_t SplitAt(std::uint32_t offset)
    {
        if (runs.empty())
            runs.push_back(Run::Default(0));
        const std::uint32_t i = FindRun(offset);
        if (runs[i].start == offset)
            return i;
        Run run = runs[i];
        run.start = offset;
        runs.insert(runs.begin() + i + 1, std::move(run));
        return i + 1;
    }

    // Shifts every run that starts after `at` by delta bytes.
    void ShiftAfter(std::uint32_t at, std::int64_t delta)
    {
        for (Run& run : runs)
            if (run.start > at)
                run.start = std::uint32_t(run.start + delta);
    }

    void MergeEqualRuns()
    {
        if (runs.size() < 2)
            return;
        std::size_t kept = 0;
        for (std::size_t i = 1; i < runs.size(); ++i) {
            if (runs[i].start == runs[kept].start || runs[i].SameValue(runs[kept])) {
                if (runs[i].start == runs[kept].start)
                    runs[kept] = std::move(runs[i]);
                continue;
            }
            runs[++kept] = std::move(runs[i]);
        }
        runs.resize(kept + 1);
    }
};
