#include "core/searchrun/ScanRecord.h"

namespace trawlit {

void ScanRecord::BeginMatch(std::int64_t lineNumber, bool isContinuation)
{
    events_.push_back({ isContinuation ? Kind::BeginContinuation : Kind::Begin, lineNumber });
}

void ScanRecord::AppendToMatch(std::string_view part)
{
    if (part.empty())
        return;
    events_.push_back({ Kind::Append, static_cast<std::int64_t>(part.size()) });
    text_.append(part);
}

void ScanRecord::EndMatch()
{
    events_.push_back({ Kind::End, 0 });
}

void ScanRecord::NoteStopCheck()
{
    events_.push_back({ Kind::StopCheck, 0 });
}

void ScanRecord::Clear()
{
    events_.clear();
    text_.clear();
}

void ScanRecord::Append(ScanRecord& later)
{
    if (events_.empty()) {
        events_.swap(later.events_);
        text_.swap(later.text_);
    } else {
        events_.insert(events_.end(), later.events_.begin(), later.events_.end());
        text_.append(later.text_);
    }
    later.Clear();
}

} // namespace trawlit
