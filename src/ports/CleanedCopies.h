#pragma once

#include <cstdint>
#include <string>

namespace trawlit {

// What stands at the name a cleaned copy would take.
enum class CopyStanding : std::uint8_t {
    Nothing,
    OwnCopy, // a regular file this program wrote there, unchanged since
    Folder,
    Other, // someone's own file, a link (even a broken one), a FIFO, a device
};

// The web cleanup's knowledge of the copies it wrote: only a file it wrote itself, unchanged
// since, is ever replaced. Links at a copy's name are never followed.
class CleanedCopies {
public:
    virtual ~CleanedCopies() = default;
    virtual CopyStanding WhatStandsAt(const std::string& copyPath) = 0;
    // Gives the freshly created, still empty `copyPath` the permission bits of `original`,
    // so that no copy is more readable than its original. False when that could not be done.
    virtual bool TakePermissionsOf(const std::string& original, const std::string& copyPath) = 0;
    // Notes the file now at `copyPath` (its identity, size and time) as a copy of this program.
    virtual void Remember(const std::string& copyPath) = 0;
    // The temporary file a copy is being written to, from its creation until it is renamed or
    // removed: should the program be ended meanwhile, it is removed.
    virtual void TemporaryInTheMaking(const std::string& temporaryPath) { (void)temporaryPath; }
    virtual void TemporaryDone() { }
};

} // namespace trawlit
