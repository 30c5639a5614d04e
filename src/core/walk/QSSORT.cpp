#include "core/walk/QSSORT.h"

#include "core/text/AsciiCase.h"

#include <algorithm>
#include <bit>

namespace trawlit {

namespace {

// Byte order; with ignoreCase the bytes are lower-cased first, so "_" sorts before letters.
int CompareNames(const std::string& a, const std::string& b, bool ignoreCase)
{
    if (!ignoreCase) {
        return a.compare(b);
    }
    std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(AsciiLower(a[i]));
        const auto cb = static_cast<unsigned char>(AsciiLower(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

struct Run {
    std::size_t first;
    std::size_t last;
    std::size_t count;
};

void Unlink(SortLinks& next, SortLinks& previous, std::size_t p)
{
    next[previous[p]] = next[p];
    previous[next[p]] = previous[p];
}

void InsertBefore(SortLinks& next, SortLinks& previous, std::size_t p, std::size_t anchor)
{
    std::size_t before = previous[anchor];
    next[before] = p;
    previous[p] = before;
    next[p] = anchor;
    previous[anchor] = p;
}

void InsertAfter(SortLinks& next, SortLinks& previous, std::size_t p, std::size_t anchor)
{
    InsertBefore(next, previous, p, next[anchor]);
}

class Partitioner {
public:
    Partitioner(const std::vector<std::string>& names, SortLinks& next, SortLinks& previous,
        bool ignoreCase)
        : names_(names)
        , next_(next)
        , previous_(previous)
        , ignoreCase_(ignoreCase)
    {
    }

    // Splits one run around its first position; pushes the groups still to sort.
    void Split(Run run, std::vector<Run>& stack)
    {
        std::size_t half = run.count / 2;
        if (half > 20) {
            std::size_t m = run.first;
            for (std::size_t step = 0; step < half; ++step) {
                m = next_[m];
            }
            ExchangeListPlaces(next_, previous_, run.first, m);
            run.first = m;
        }
        std::size_t pivot = run.first;
        Run smaller { 0, 0, 0 };
        Run greater { 0, 0, 0 };
        std::size_t p = next_[pivot];
        for (;;) {
            std::size_t following = next_[p];
            bool atLast = p == run.last;
            int order = CompareNames(names_[p], names_[pivot], ignoreCase_);
            if (order < 0) {
                Unlink(next_, previous_, p);
                InsertBefore(next_, previous_, p, pivot);
                Note(smaller, p);
            } else if (order > 0) {
                Note(greater, p);
            } else {
                Unlink(next_, previous_, p);
                InsertAfter(next_, previous_, p, pivot);
            }
            if (atLast) {
                break;
            }
            p = following;
        }
        // The group pushed second is sorted next; never letting it be the larger one
        // bounds the stack by log2(n) + 1 runs.
        if (smaller.count < greater.count) {
            PushIfUnsorted(stack, greater);
            PushIfUnsorted(stack, smaller);
        } else {
            PushIfUnsorted(stack, smaller);
            PushIfUnsorted(stack, greater);
        }
    }

private:
    static void Note(Run& group, std::size_t p)
    {
        if (group.count == 0) {
            group.first = p;
        }
        group.last = p;
        ++group.count;
    }

    static void PushIfUnsorted(std::vector<Run>& stack, const Run& group)
    {
        if (group.count >= 2) {
            stack.push_back(group);
        }
    }

    const std::vector<std::string>& names_;
    SortLinks& next_;
    SortLinks& previous_;
    bool ignoreCase_;
};

} // namespace

void ExchangeListPlaces(SortLinks& forward, SortLinks& backward, std::size_t a, std::size_t b)
{
    if (a == b) {
        return;
    }
    if (forward[b] == a) {
        std::swap(a, b);
    }
    const auto link = [&](std::size_t from, std::size_t to) {
        forward[from] = to;
        backward[to] = from;
    };
    const std::size_t beforeA = backward[a];
    const std::size_t afterB = forward[b];
    if (forward[a] == b) {
        link(beforeA, b);
        link(b, a);
        link(a, afterB);
        return;
    }
    // Apart, every link written is a different one, so the order of writing does not matter.
    const std::size_t afterA = forward[a];
    const std::size_t beforeB = backward[b];
    link(beforeA, b);
    link(b, afterA);
    link(beforeB, a);
    link(a, afterB);
}

void QSSORT(const std::vector<std::string>& names, std::size_t n, SortLinks& next,
    SortLinks& previous, bool caseSensitive)
{
    next.resize(n + 1);
    previous.resize(n + 1);
    for (std::size_t i = 0; i <= n; ++i) {
        next[i] = i + 1;
        previous[i] = i == 0 ? n : i - 1;
    }
    next[n] = 0;
    if (n < 2) {
        return;
    }
    std::vector<Run> stack;
    stack.reserve(static_cast<std::size_t>(std::bit_width(n)) + 2);
    stack.push_back(Run { 1, n, n });
    Partitioner partitioner(names, next, previous, !caseSensitive);
    while (!stack.empty()) {
        Run run = stack.back();
        stack.pop_back();
        partitioner.Split(run, stack);
    }
}

void QSSORT2(
    std::vector<std::string>& names, std::size_t n, SortLinks& forward, SortLinks& backward)
{
    ReorderByLinks(
        n, forward, backward, [&names](std::size_t k, std::size_t j) { names[k].swap(names[j]); });
}

} // namespace trawlit
