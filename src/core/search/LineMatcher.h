#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace trawlit {

struct MatchSettings {
    std::string findText; // used as entered: never trimmed or collapsed
    bool caseSensitive = false;
    bool collapseWhiteSpace = false;
    bool lineNumbersWanted = true; // counts-only runs need none, nor the pieces' text
};

// Where a file's bytes come from: Read returns the bytes read, 0 at the end, -1 on failure
// (a failure ends the file like its end).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::ptrdiff_t Read(char* buffer, std::size_t size) = 0;
    // Asked before every read: true ends the file where it is. The pieces read whole are
    // searched; a piece cut off is dropped, one already being passed on ends where it is.
    virtual bool Stopped() { return false; }
    // Reading again from an earlier place, without moving the reading position, lets the
    // matcher leave line ends uncounted until a hit needs them. Sources that cannot say no.
    virtual bool CanReadAt() const { return false; }
    virtual std::ptrdiff_t ReadAt(std::int64_t offset, char* buffer, std::size_t size)
    {
        (void)offset;
        (void)buffer;
        (void)size;
        return -1;
    }
};

// Receives every matching piece of a file in order: BeginMatch, the piece in one or more
// AppendToMatch calls, EndMatch. A piece comes as UTF-8 text (the bytes as read when they are
// valid UTF-8), except when line numbers were not wanted (`lineNumber` is then 0 and the piece
// is the bytes as read) and for a piece too long to hold, which comes in parts as read. A part
// is valid only during its call.
class MatchSink {
public:
    virtual ~MatchSink() = default;
    virtual void BeginMatch(std::int64_t lineNumber, bool isContinuation) = 0;
    virtual void AppendToMatch(std::string_view part) = 0;
    virtual void EndMatch() = 0;
};

// Finds the matching pieces of a file, read as text: UTF-16 with a byte-order mark, else
// UTF-8, a line that is no valid UTF-8 being Windows-1252. A line ends at CR, CR LF or LF; an LF
// that is the file's last byte is followed by one more, empty piece. A piece matches when it holds
// the text (after collapsing white space when asked), or when the previous match ended in "_" (a
// continuation, taken without a test). Reads in large blocks and looks at lines only around hits.
// A line longer than the buffer's bound is tested as it goes by and, when it matches, read again
// from the source (when the source can) to be passed on in parts, so memory stays bounded
// whatever the line lengths.
class LineMatcher {
public:
    explicit LineMatcher(MatchSettings settings);
    ~LineMatcher();
    LineMatcher(const LineMatcher&) = delete;
    LineMatcher& operator=(const LineMatcher&) = delete;

    // Returns the number of matching pieces.
    std::int64_t ScanFile(ByteSource& source, MatchSink& sink);

    // The bytes the read buffer holds room for: after a file, the most it took for that file.
    std::size_t BufferCapacity() const;

private:
    struct Impl;
    Impl* impl_;
};

} // namespace trawlit
