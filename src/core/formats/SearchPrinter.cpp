#include "core/formats/SearchPrinter.h"

namespace trawlit {

std::string NotReadInFull(std::string_view why)
{
    return "not read in full: " + std::string(why);
}

} // namespace trawlit
