#include "app/cli/ConsoleWindow.h"

#include "app/cli/ConsoleMessages.h"

#include <chrono>

namespace trawlit {

namespace {

constexpr double kSecondsBetweenDraws = 0.1;

double SecondsNow()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

ConsoleWindow::ConsoleWindow(std::FILE* statusStream)
    : statusStream_(statusStream)
{
}

// The run clears its abort request as it starts; a Ctrl-C that came before it still counts,
// since this process runs once.
void ConsoleWindow::SetAbortRequested(bool value)
{
    abortRequested_ = value;
}

void ConsoleWindow::FolderNotRead(const std::string& folderPath, const std::string& reason)
{
    FinishStatusLine();
    PrintMessage(stderr, "Folder not read: " + folderPath + " (" + reason + ")");
}

void ConsoleWindow::ShowCounter(Counter counter, std::int64_t value)
{
    counters_[static_cast<std::size_t>(counter)] = value;
    if (!countsShown_ || statusStream_ == nullptr) {
        return;
    }
    double now = SecondsNow();
    if (now - lastDraw_ >= kSecondsBetweenDraws) {
        lastDraw_ = now;
        DrawStatusLine();
    }
}

void ConsoleWindow::HideStuff(const std::string&, std::int64_t totalFileCount,
    std::int64_t fileFoundCount, std::int64_t matchCount)
{
    counters_ = { totalFileCount, fileFoundCount, matchCount };
    counterVisible_ = { true, fileFoundCount != -1, matchCount != -1 };
    countsShown_ = true;
    if (statusStream_ != nullptr) {
        DrawStatusLine();
    }
}

void ConsoleWindow::HideShowCounts(bool visible)
{
    if (!visible) {
        FinishStatusLine();
    }
    countsShown_ = visible;
    counterVisible_.fill(visible);
}

void ConsoleWindow::FinishStatusLine()
{
    if (statusLineDrawn_ && statusStream_ != nullptr) {
        DrawStatusLine(); // the latest values stay on screen
        std::fputc('\n', statusStream_);
        std::fflush(statusStream_);
        statusLineDrawn_ = false;
        lastDraw_ = -1.0;
    }
}

void ConsoleWindow::DrawStatusLine()
{
    std::string line = "\r";
    for (std::size_t i = 0; i < counters_.size(); ++i) {
        if (!counterVisible_[i]) {
            continue;
        }
        line += CounterCaption(static_cast<Counter>(i));
        line += " " + std::to_string(counters_[i]) + "   ";
    }
    line += "\033[K";
    std::fputs(line.c_str(), statusStream_);
    std::fflush(statusStream_);
    statusLineDrawn_ = true;
}

} // namespace trawlit
