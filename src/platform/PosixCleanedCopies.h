#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "ports/CleanedCopies.h"

namespace trawlit {

// Knows the web cleanup's copies by a record in the user's state folder: one line per copy
// written, with its device, inode, size, modification time and path. A copy is the program's
// own while the file with that identity still has that size and time; a copy the user edited
// is the user's. Failing to keep the record only makes later runs leave copies alone.
class PosixCleanedCopies : public CleanedCopies {
public:
    explicit PosixCleanedCopies(std::string recordPath);

    // $XDG_STATE_HOME/trawlit/cleaned-copies, or ~/.local/state/trawlit/cleaned-copies.
    static std::string RecordPathForUser();

    CopyStanding WhatStandsAt(const std::string& copyPath) override;
    bool TakePermissionsOf(const std::string& original, const std::string& copyPath) override;
    CopyPlacing Place(const std::string& temporaryPath, const std::string& copyPath,
        CopyStanding found, PlatformError& error) override;
    // Notes the file now at `copyPath` (its identity, size and time) as a copy of this program.
    void Remember(const std::string& copyPath);
    void TemporaryInTheMaking(const std::string& temporaryPath) override;
    void TemporaryDone() override;
    // Removes the temporary file of the copy being written, if any: one unlink of a path held
    // in a fixed buffer, safe in a signal handler (the programs' handlers call it).
    static void RemoveCopyInTheMaking() noexcept;

    struct Facts {
        std::uint64_t size = 0;
        std::int64_t seconds = 0;
        std::int64_t nanoseconds = 0;
        std::string path;
        bool SameFileState(const Facts& other) const
        {
            return size == other.size && seconds == other.seconds
                && nanoseconds == other.nanoseconds;
        }
    };
    using Identity = std::pair<std::uint64_t, std::uint64_t>;

private:
    CopyPlacing PlaceWhereNothingStands(
        const std::string& temporaryPath, const std::string& copyPath, PlatformError& error);
    CopyPlacing ReplaceOwnCopy(
        const std::string& temporaryPath, const std::string& copyPath, PlatformError& error);
    void Load();
    void Rewrite();

    std::string recordPath_;
    std::map<Identity, Facts> known_;
    bool loaded_ = false;
};

} // namespace trawlit
