#include "core/search/LineMatcher.h"

#include "core/search/BlockBuffer.h"
#include "core/search/ByteScan.h"
#include "core/search/CollapsedMatch.h"
#include "core/search/NeedlePlan.h"
#include "core/search/PartwisePiece.h"
#include "core/search/PieceMatch.h"
#include "core/search/TextSource.h"
#include "core/text/CaseFold.h"
#include "core/text/TextDecode.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <utility>

namespace trawlit {

namespace {

// Past this many bytes without a hit, line ends are counted as the file is read: a late first
// hit then reads no more than this again.
constexpr std::int64_t kDeferredCountLimit = 32 * 1024 * 1024;

std::size_t ShiftDown(std::size_t position, std::size_t by)
{
    return position > by ? position - by : 0;
}

// A text beyond ASCII is searched as UTF-8; typed in another way, it is read as a line is.
MatchSettings AsUtf8(MatchSettings settings)
{
    std::string scratch;
    settings.findText = std::string(LineAsUtf8(settings.findText, scratch));
    return settings;
}

} // namespace

// Walks a file block by block. While searching, only the probe looks at the bytes; a hit
// opens the piece around it (back to the last line end, forward to the next), which is
// tested, reported and left behind. Line ends are counted lazily, up to a reported piece or
// up to bytes about to be dropped. A piece outgrowing the buffer's bound goes by in parts.
struct LineMatcher::Impl {
    enum class Phase { Searching, PieceOpen, Done };
    enum class PieceKind { Matched, Untested, Continuation };

    explicit Impl(MatchSettings matchSettings)
        : settings(AsUtf8(std::move(matchSettings)))
        , textLevel(!IsAllAscii(settings.findText))
        , plan(PlanNeedle(settings))
        , pieceMatcher(settings)
        , collapsedMatch(settings, plan.partBegin)
        , partwise(settings, plan)
    {
    }

    std::int64_t Scan(ByteSource& source, MatchSink& matchSink);

    void Start();
    void Process();
    bool FindCandidate();
    bool CloseOpenPiece();
    void OpenPiece(std::size_t start, PieceKind pieceKind);
    void HandlePiece(std::size_t start, std::size_t end);
    std::size_t PieceStartBefore(std::size_t position);
    std::size_t KeepFrom();
    std::size_t KeepFromWithinBound(std::size_t keepFrom);
    std::size_t PassLongPiece();
    void PassPart(std::size_t from, std::size_t to);
    void BeginDelivery(std::size_t from);
    void ReplayFromSource(std::int64_t from, std::int64_t to);
    void FinishLongPiece(std::size_t start, std::size_t end);
    void CountBeforeDrop(std::size_t keepFrom);
    std::int64_t LineNumberAt(std::size_t pieceStart);
    void CountLineEndsTo(std::size_t position);
    void StopDeferring();
    void CountPrefixAgain();
    void ShiftPositions(std::size_t by);
    std::size_t ReadAgain(std::int64_t offset, std::size_t wanted);

    MatchSettings settings;
    bool textLevel; // a text beyond ASCII: only a piece read as text can tell
    NeedlePlan plan;
    PieceMatcher pieceMatcher;
    CollapsedMatch collapsedMatch;
    PartwisePiece partwise;
    BlockBuffer block;
    std::unique_ptr<char[]> spare; // for reading earlier bytes again
    TextSource text;
    std::string pieceText;
    MatchSink* sink = nullptr;
    ByteSource* source = nullptr;
    std::int64_t matches = 0;
    bool continuationPending = false;
    Phase phase = Phase::Searching;

    // Searching: candidates start at scanPos or later; floor is a piece start at or before
    // scanPos, and [floor, clean) holds no line end.
    std::size_t scanPos = 0;
    std::size_t floor = 0;
    std::size_t clean = 0;

    // PieceOpen: the piece starts at pieceStart; its end lies at endFrom or later.
    std::size_t pieceStart = 0;
    std::size_t endFrom = 0;
    PieceKind kind = PieceKind::Untested;
    std::int64_t pieceOffset = 0; // pieceStart in the file

    // A long piece: its bytes go by in parts, to the sink once it is known to match; the
    // parts that went by before are then read again.
    bool longPiece = false;
    bool delivering = false;

    // Line ends before countedTo; whether the byte before countedTo was a CR.
    std::int64_t lineEnds = 0;
    std::size_t countedTo = 0;
    bool countedAfterCR = false;
    // While no hit has needed a line number, dropped bytes stay uncounted (a source that can
    // read them again is counted then); dropped counts the bytes before the buffer's start.
    // The first uncountedPrefix bytes of the file are still to be counted.
    bool countingDeferred = false;
    std::int64_t dropped = 0;
    bool droppedEndsInCR = false;
    std::int64_t uncountedPrefix = 0;
};

std::int64_t LineMatcher::Impl::Scan(ByteSource& byteSource, MatchSink& matchSink)
{
    sink = &matchSink;
    text.Open(byteSource);
    source = &text;
    Start();
    if (plan.strategy == NeedleStrategy::NeverMatches)
        return 0;
    for (;;) {
        Process();
        if (phase == Phase::Done || block.AtEnd())
            break;
        // While a whole block still fits behind the data, nothing is dropped, so a small
        // file without a hit never has its line ends counted.
        const std::size_t keepFrom
            = KeepFromWithinBound(block.HasRoomForBlock() && !longPiece ? 0 : KeepFrom());
        // A decoded file, known after the first read (which drops nothing), is counted as read.
        countingDeferred = countingDeferred && source->CanReadAt();
        CountBeforeDrop(keepFrom);
        if (source->Stopped()) {
            if (delivering)
                sink->EndMatch();
            break;
        }
        block.Refill(*source, keepFrom);
        ShiftPositions(keepFrom);
        dropped += static_cast<std::int64_t>(keepFrom);
    }
    return matches;
}

void LineMatcher::Impl::Start()
{
    block.Reset();
    matches = 0;
    continuationPending = false;
    scanPos = floor = clean = 0;
    lineEnds = 0;
    countedTo = 0;
    countedAfterCR = false;
    countingDeferred = settings.lineNumbersWanted && source->CanReadAt();
    dropped = 0;
    droppedEndsInCR = false;
    uncountedPrefix = 0;
    longPiece = delivering = false;
    phase = Phase::Searching;
    if (plan.strategy == NeedleStrategy::EveryPiece)
        OpenPiece(0, PieceKind::Untested);
}

void LineMatcher::Impl::Process()
{
    for (;;) {
        if (phase == Phase::Done)
            return;
        const bool progressed = phase == Phase::Searching ? FindCandidate() : CloseOpenPiece();
        if (!progressed)
            return;
    }
}

// Looks for the next hit from scanPos; opens its piece, or moves scanPos to the first start
// the data read so far cannot decide.
bool LineMatcher::Impl::FindCandidate()
{
    const char* data = block.Data();
    const std::size_t size = block.Size();
    if (size >= plan.window) {
        const std::size_t lastStart = size - plan.window;
        const char* candidatesEnd = data + lastStart + 1;
        const char* from = data + scanPos;
        while (from < candidatesEnd) {
            const char* hit = plan.probesSets
                ? bytescan::FindSetProbe(from, candidatesEnd, plan.sets)
                : bytescan::FindProbe(from, candidatesEnd, plan.probe);
            if (hit == nullptr)
                break;
            const auto at = static_cast<std::size_t>(hit - data) + plan.partOffset;
            if (plan.strategy == NeedleStrategy::TokenProbe) {
                const auto verdict = collapsedMatch.At(data, size, at, block.AtEnd());
                if (verdict != CollapsedMatch::Verdict::DoesNotHold) {
                    // An undecided place leaves the test to the whole piece once it is read.
                    const bool holds = verdict == CollapsedMatch::Verdict::Holds;
                    OpenPiece(
                        PieceStartBefore(at), holds ? PieceKind::Matched : PieceKind::Untested);
                    endFrom = at;
                    return true;
                }
            } else if (plan.strategy == NeedleStrategy::TextProbe) {
                OpenPiece(PieceStartBefore(at), PieceKind::Untested);
                endFrom = at;
                return true;
            } else if (pieceMatcher.OccursAt(hit)) {
                // A line that is no valid UTF-8 reads differently as text.
                OpenPiece(
                    PieceStartBefore(at), textLevel ? PieceKind::Untested : PieceKind::Matched);
                endFrom = at + plan.window;
                return true;
            }
            from = hit + 1;
        }
        scanPos = std::max(scanPos, lastStart + 1);
    }
    if (block.AtEnd())
        phase = Phase::Done;
    return false;
}

void LineMatcher::Impl::OpenPiece(std::size_t start, PieceKind pieceKind)
{
    phase = Phase::PieceOpen;
    pieceStart = endFrom = start;
    pieceOffset = dropped + static_cast<std::int64_t>(start);
    kind = pieceKind;
}

// Finds the open piece's end and deals with the piece; false when more bytes are needed.
bool LineMatcher::Impl::CloseOpenPiece()
{
    const char* data = block.Data();
    const std::size_t size = block.Size();
    if (pieceStart == size && block.AtEnd() && !block.EndsWithLoneLF() && !longPiece) {
        phase = Phase::Done; // the file ended with its last line end: no piece follows
        return false;
    }
    const auto end
        = static_cast<std::size_t>(bytescan::FindLineEnd(data + endFrom, data + size) - data);
    const bool crAtDataEnd = end + 1 == size && data[end] == '\r';
    if (!block.AtEnd() && (end == size || crAtDataEnd)) {
        endFrom = end; // an LF may follow the CR in the next block
        return false;
    }
    HandlePiece(pieceStart, end);
    if (end == size) {
        phase = Phase::Done;
        return true;
    }
    std::size_t next = end + 1;
    if (data[end] == '\r' && next < size && data[next] == '\n')
        ++next;
    if (continuationPending || plan.strategy == NeedleStrategy::EveryPiece) {
        OpenPiece(next, continuationPending ? PieceKind::Continuation : PieceKind::Untested);
    } else {
        phase = Phase::Searching;
        scanPos = floor = clean = next;
    }
    return true;
}

void LineMatcher::Impl::HandlePiece(std::size_t start, std::size_t end)
{
    if (longPiece) {
        FinishLongPiece(start, end);
        return;
    }
    const std::string_view piece(block.Data() + start, end - start);
    const bool isContinuation = kind == PieceKind::Continuation;
    if (kind == PieceKind::Untested && !pieceMatcher.Holds(piece))
        return;
    ++matches;
    // Counting needs no text, so such pieces go on as read.
    const bool asRead = !settings.lineNumbersWanted
        || bytescan::IsAscii(piece.data(), piece.data() + piece.size());
    sink->BeginMatch(LineNumberAt(start), isContinuation);
    sink->AppendToMatch(asRead ? piece : LineAsUtf8(piece, pieceText));
    sink->EndMatch();
    continuationPending
        = PieceMatcher::Continues(piece, settings.collapseWhiteSpace && !isContinuation);
}

// The start of the piece holding `position`; positions asked for never decrease while
// searching, so each byte is looked at once.
std::size_t LineMatcher::Impl::PieceStartBefore(std::size_t position)
{
    const char* data = block.Data();
    const char* lineEnd = bytescan::FindLastLineEnd(data + std::max(floor, clean), data + position);
    if (lineEnd != nullptr)
        floor = static_cast<std::size_t>(lineEnd - data) + 1;
    clean = position;
    return floor;
}

std::size_t LineMatcher::Impl::KeepFrom()
{
    switch (phase) {
    case Phase::Searching:
        return PieceStartBefore(scanPos);
    case Phase::PieceOpen:
        return longPiece ? PassLongPiece() : pieceStart;
    case Phase::Done:
        break;
    }
    return block.Size();
}

// Keeping more than the bound allows lets go of the open piece's start, or of the start of
// the line searched, which becomes a long piece. Only a source that can read again may let go
// of a piece not yet known to match.
std::size_t LineMatcher::Impl::KeepFromWithinBound(std::size_t keepFrom)
{
    if (block.KeepsWithinBound(keepFrom) || phase == Phase::Done)
        return keepFrom;
    const bool known = phase == Phase::PieceOpen && kind != PieceKind::Untested;
    if (!known && !source->CanReadAt())
        return keepFrom;
    if (phase == Phase::Searching) {
        // KeepFrom left [floor, scanPos) without a line end.
        OpenPiece(floor, PieceKind::Untested);
        endFrom = scanPos;
    }
    longPiece = true;
    delivering = false;
    partwise.Start(kind == PieceKind::Untested,
        settings.collapseWhiteSpace && kind != PieceKind::Continuation);
    return PassLongPiece();
}

// Passes the open long piece's bytes up to where its end is looked for next.
std::size_t LineMatcher::Impl::PassLongPiece()
{
    PassPart(pieceStart, endFrom);
    return endFrom;
}

void LineMatcher::Impl::PassPart(std::size_t from, std::size_t to)
{
    const std::string_view part(block.Data() + from, to - from);
    partwise.Feed(part);
    if (!delivering) {
        if (!partwise.Holds())
            return;
        BeginDelivery(from);
    }
    sink->AppendToMatch(part);
}

void LineMatcher::Impl::BeginDelivery(std::size_t from)
{
    delivering = true;
    ++matches;
    // No line end lies between the piece's start and `from`.
    sink->BeginMatch(LineNumberAt(from), kind == PieceKind::Continuation);
    ReplayFromSource(pieceOffset, dropped + static_cast<std::int64_t>(from));
}

// Hands the sink the piece's bytes that were dropped before it was known to match.
void LineMatcher::Impl::ReplayFromSource(std::int64_t from, std::int64_t to)
{
    while (from < to) {
        const auto wanted
            = static_cast<std::size_t>(std::min<std::int64_t>(to - from, BlockBuffer::kBlockSize));
        const std::size_t got = ReadAgain(from, wanted);
        if (got == 0)
            return; // the file changed under us: the piece holds what could be read
        sink->AppendToMatch(std::string_view(spare.get(), got));
        from += static_cast<std::int64_t>(got);
    }
}

void LineMatcher::Impl::FinishLongPiece(std::size_t start, std::size_t end)
{
    PassPart(start, end);
    longPiece = false;
    if (!delivering)
        return;
    delivering = false;
    sink->EndMatch();
    continuationPending = partwise.Continues();
}

void LineMatcher::Impl::CountBeforeDrop(std::size_t keepFrom)
{
    if (countingDeferred && dropped + static_cast<std::int64_t>(keepFrom) > kDeferredCountLimit)
        StopDeferring();
    if (!countingDeferred)
        CountLineEndsTo(keepFrom);
    if (keepFrom != 0)
        droppedEndsInCR = block.Data()[keepFrom - 1] == '\r';
}

std::int64_t LineMatcher::Impl::LineNumberAt(std::size_t start)
{
    if (!settings.lineNumbersWanted)
        return 0;
    if (countingDeferred)
        StopDeferring();
    if (uncountedPrefix != 0)
        CountPrefixAgain();
    CountLineEndsTo(start);
    return lineEnds + 1;
}

// From here on line ends are counted as the file is read; those already dropped are counted
// from a second reading when a hit needs them.
void LineMatcher::Impl::StopDeferring()
{
    countingDeferred = false;
    uncountedPrefix = dropped;
    countedTo = 0;
    countedAfterCR = droppedEndsInCR;
}

void LineMatcher::Impl::CountPrefixAgain()
{
    std::int64_t offset = 0;
    bool afterCR = false;
    while (offset < uncountedPrefix) {
        const auto wanted = static_cast<std::size_t>(
            std::min<std::int64_t>(uncountedPrefix - offset, BlockBuffer::kBlockSize));
        const std::size_t got = ReadAgain(offset, wanted);
        if (got == 0)
            break; // the file changed under us: the numbers count what could be read
        const char* data = spare.get();
        lineEnds += bytescan::CountLineEnds(data, data + got, afterCR);
        afterCR = data[got - 1] == '\r';
        offset += static_cast<std::int64_t>(got);
    }
    uncountedPrefix = 0;
}

// Reads earlier bytes into the spare block; 0 when nothing could be read. A source claiming
// more than it was asked for is not trusted beyond what was asked.
std::size_t LineMatcher::Impl::ReadAgain(std::int64_t offset, std::size_t wanted)
{
    if (!spare)
        spare = std::make_unique_for_overwrite<char[]>(BlockBuffer::kBlockSize);
    const std::ptrdiff_t got = source->ReadAt(offset, spare.get(), wanted);
    return got <= 0 ? 0 : std::min(static_cast<std::size_t>(got), wanted);
}

void LineMatcher::Impl::CountLineEndsTo(std::size_t position)
{
    if (!settings.lineNumbersWanted || position <= countedTo)
        return;
    const char* data = block.Data();
    lineEnds += bytescan::CountLineEnds(data + countedTo, data + position, countedAfterCR);
    countedAfterCR = data[position - 1] == '\r';
    countedTo = position;
}

void LineMatcher::Impl::ShiftPositions(std::size_t by)
{
    for (std::size_t* position : { &scanPos, &floor, &clean, &pieceStart, &endFrom, &countedTo })
        *position = ShiftDown(*position, by);
}

LineMatcher::LineMatcher(MatchSettings settings)
    : impl_(new Impl(std::move(settings)))
{
}

LineMatcher::~LineMatcher()
{
    delete impl_;
}

std::int64_t LineMatcher::ScanFile(ByteSource& source, MatchSink& sink)
{
    return impl_->Scan(source, sink);
}

std::size_t LineMatcher::BufferCapacity() const
{
    return impl_->block.Capacity();
}

} // namespace trawlit
