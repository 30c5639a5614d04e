#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>

#include "fakes/FakeFileSystem.h"
#include "ports/CleanedCopies.h"

namespace trawlit::fakes {

// The record of cleaned copies over a FakeFileSystem: a copy is ours while the file of that
// identity still holds what was written. Paths in `links` stand for links at those names.
class FakeCleanedCopies : public CleanedCopies {
public:
    explicit FakeCleanedCopies(FakeFileSystem& platform)
        : platform_(platform)
    {
    }

    CopyStanding WhatStandsAt(const std::string& copyPath) override
    {
        if (links.contains(copyPath)) {
            return CopyStanding::Other;
        }
        switch (platform_.Examine(copyPath)) {
        case EntryKind::Missing:
            return CopyStanding::Nothing;
        case EntryKind::Folder:
            return CopyStanding::Folder;
        case EntryKind::File:
            break;
        default:
            return CopyStanding::Other;
        }
        const FileIdentity identity = platform_.IdentityOfPath(copyPath);
        const auto found = written_.find(Key(identity));
        const bool ours = found != written_.end() && found->second == platform_.Contents(copyPath);
        return ours ? CopyStanding::OwnCopy : CopyStanding::Other;
    }
    bool TakePermissionsOf(const std::string& original, const std::string& copyPath) override
    {
        permissionsTaken[copyPath] = original;
        return true;
    }
    // Replaces only what was found, as the real record does; `beforePlacing` lets a test
    // change what stands at the name meanwhile.
    CopyPlacing Place(const std::string& temporaryPath, const std::string& copyPath,
        CopyStanding found, PlatformError& error) override
    {
        if (beforePlacing) {
            beforePlacing(copyPath);
        }
        if (WhatStandsAt(copyPath) != found) {
            return CopyPlacing::SomethingElseStands;
        }
        if (found == CopyStanding::OwnCopy) {
            platform_.SetReadOnly(copyPath, false); // a name replaced, not a file written
        }
        if (!platform_.Rename(temporaryPath, copyPath, error)) {
            return CopyPlacing::Failed;
        }
        Remember(copyPath);
        return CopyPlacing::Placed;
    }
    void Remember(const std::string& copyPath)
    {
        written_[Key(platform_.IdentityOfPath(copyPath))] = platform_.Contents(copyPath);
    }

    std::set<std::string> links;
    std::function<void(const std::string&)> beforePlacing;
    std::map<std::string, std::string> permissionsTaken; // copy -> original

private:
    static std::pair<std::uint64_t, std::uint64_t> Key(const FileIdentity& identity)
    {
        return { identity.device, identity.inode };
    }
    FakeFileSystem& platform_;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::string> written_;
};

} // namespace trawlit::fakes
