#pragma once

#include <cstdint>
#include <string>

#include "ports/FileSystem.h"

namespace trawlit {

// What stands at the name a cleaned copy would take.
enum class CopyStanding : std::uint8_t {
    Nothing,
    OwnCopy, // a regular file this program wrote there, unchanged since
    Folder,
    Other, // someone's own file, a link (even a broken one), a FIFO, a device
};

// How a finished copy took its name.
enum class CopyPlacing : std::uint8_t {
    Placed,
    SomethingElseStands, // what stands at the name now is not what was found there: left as it is
    Failed,
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
    // Gives the finished `temporaryPath` the name `copyPath`, replacing only what was `found`
    // there: nothing (whatever has appeared since stays), or this program's own copy, checked
    // again right before it is replaced. An old copy goes only once the new one has its name.
    // A copy placed is remembered.
    virtual CopyPlacing Place(const std::string& temporaryPath, const std::string& copyPath,
        CopyStanding found, PlatformError& error)
        = 0;
    // The temporary file a copy is being written to, from its creation until it is renamed or
    // removed: should the program be ended meanwhile, it is removed.
    virtual void TemporaryInTheMaking(const std::string& temporaryPath) { (void)temporaryPath; }
    virtual void TemporaryDone() { }
};

} // namespace trawlit
