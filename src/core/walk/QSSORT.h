#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace trawlit {

// Successor or predecessor of each position 0 to n; position 0 is the head of the circle.
using SortLinks = std::vector<std::size_t>;

// Sorts names[1..n] into a circular list of positions without moving a name: following `next`
// from position 0 gives the names ascending, following `previous` from 0 descending. Names that
// compare equal come out as the pivot first, then the others in reverse order of meeting.
// Ignoring case compares bytes after ASCII lower-casing; otherwise plain bytes.
void QSSORT(const std::vector<std::string>& names, std::size_t n, SortLinks& next,
    SortLinks& previous, bool caseSensitive);

// Exchanges the places of positions a and b in the circle described by forward/backward.
void ExchangeListPlaces(SortLinks& forward, SortLinks& backward, std::size_t a, std::size_t b);

// Brings entries 1..n into the order the forward links describe with at most n - 1 calls of
// exchange(k, j); the links are consumed. Lets a caller carry data alongside the names.
template <class Exchange>
void ReorderByLinks(std::size_t n, SortLinks& forward, SortLinks& backward, Exchange&& exchange)
{
    for (std::size_t k = 1; k <= n; ++k) {
        std::size_t j = forward[k - 1];
        if (j != k) {
            exchange(k, j);
            ExchangeListPlaces(forward, backward, k, j);
        }
    }
}

// Reorders names[1..n] into the forward links' order: ascending given QSSORT's next links as
// forward, descending given its previous links as forward and next links as backward.
void QSSORT2(
    std::vector<std::string>& names, std::size_t n, SortLinks& forward, SortLinks& backward);

} // namespace trawlit
