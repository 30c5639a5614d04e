#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/search/LineMatcher.h"

namespace trawlit {

// What the matcher said about (part of) one file, kept to be said again later and elsewhere:
// its matches, and each place where it asked whether to stop.
class ScanRecord : public MatchSink {
public:
    void BeginMatch(std::int64_t lineNumber, bool isContinuation) override;
    void AppendToMatch(std::string_view part) override;
    void EndMatch() override;
    void NoteStopCheck();

    bool Empty() const { return events_.empty(); }
    bool EndsWithStopCheck() const
    {
        return !events_.empty() && events_.back().kind == Kind::StopCheck;
    }
    // About what the record holds in memory.
    std::size_t Bytes() const { return text_.size() + events_.size() * sizeof(Event); }
    void Clear();
    // Moves what `later` holds to the end of this record.
    void Append(ScanRecord& later);

    // Says it all again to `sink`, asking `stopNow` at each stop check. Returns false when it
    // answered true: the rest is left unsaid.
    template <typename StopNow> bool Replay(MatchSink& sink, StopNow stopNow) const
    {
        std::size_t textAt = 0;
        for (const Event& event : events_) {
            switch (event.kind) {
            case Kind::Begin:
            case Kind::BeginContinuation:
                sink.BeginMatch(event.value, event.kind == Kind::BeginContinuation);
                break;
            case Kind::Append: {
                const auto size = static_cast<std::size_t>(event.value);
                sink.AppendToMatch(std::string_view(text_).substr(textAt, size));
                textAt += size;
                break;
            }
            case Kind::End:
                sink.EndMatch();
                break;
            case Kind::StopCheck:
                if (stopNow())
                    return false;
                break;
            }
        }
        return true;
    }

private:
    enum class Kind : std::uint8_t { Begin, BeginContinuation, Append, End, StopCheck };
    struct Event {
        Kind kind;
        std::int64_t value; // the line number of a Begin, the text length of an Append
    };
    std::vector<Event> events_;
    std::string text_;
};

} // namespace trawlit
