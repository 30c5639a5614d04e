#pragma once

#include <functional>
#include <string>

namespace trawlit {

// Where the pages of a print go on a system without a printer: the printed file's path with
// ".pdf" added, or, where that file exists, the first free numbered name ("Trawlit.out-2.pdf"),
// so that an earlier print is never overwritten. Empty when even the numbered names are taken.
std::string UnusedPdfPath(
    const std::string& printedPath, const std::function<bool(const std::string&)>& exists);

} // namespace trawlit
