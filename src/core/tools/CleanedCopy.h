#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/text/FileEncoding.h"
#include "ports/CleanedCopies.h"
#include "ports/FileSystem.h"

namespace trawlit {

class FileRoutines;
struct WalkFile;

// Writes a cleaned copy's text, given as UTF-8, in its original's encoding (a UTF-16 or
// marked UTF-8 original gets its mark first), through one buffer. The first failed write
// is kept and every later one dropped.
class CleanedCopyWriter {
public:
    CleanedCopyWriter(FileRoutines& files, std::int16_t fileNumber, FileEncoding encoding);
    void Write(std::string_view text);
    // Flushes and closes the file: the first failure of all the writes and the close.
    PlatformError Close();

private:
    static constexpr std::size_t kCapacity = 256 * 1024;
    void Flush();

    FileRoutines& files_;
    std::int16_t fileNumber_;
    FileEncoding encoding_;
    std::string buffer_;
    PlatformError error_;
};

// The cleaned copy of one file in the making. It is written under a hidden name beside its
// original, with the original's permissions, and takes its own name only when Commit finds
// it complete and nothing at that name but what was found there before; anything else
// removes it, so no half copy ever stands looking whole.
class CleanedCopy {
public:
    CleanedCopy(FileRoutines& files, FileSystem& fileSystem, CleanedCopies& copies);
    CleanedCopy(const CleanedCopy&) = delete;
    CleanedCopy& operator=(const CleanedCopy&) = delete;
    ~CleanedCopy(); // an uncommitted copy is removed

    // Starts the copy of `file` that will replace what was `found` at `copyPath`.
    PlatformError Begin(const WalkFile& file, const std::string& copyPath, CopyStanding found,
        FileEncoding encoding);
    bool Begun() const { return writer_ != nullptr; }
    void Write(std::string_view text) { writer_->Write(text); }
    // Closes the copy and gives it its name, which records it as this program's own.
    CopyPlacing Commit(PlatformError& error);

private:
    std::int16_t OpenTemporary(const WalkFile& file, PlatformError& error);
    void RemoveTemporary();

    FileRoutines& files_;
    FileSystem& fileSystem_;
    CleanedCopies& copies_;
    std::string copyPath_;
    std::string temporaryPath_;
    CopyStanding found_ = CopyStanding::Nothing;
    std::unique_ptr<CleanedCopyWriter> writer_;
    bool closed_ = false;
};

} // namespace trawlit
