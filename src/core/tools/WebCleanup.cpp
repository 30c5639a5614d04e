#include "core/tools/WebCleanup.h"

#include <vector>

#include "core/files/ErrorNumbers.h"
#include "core/files/FileRoutines.h"
#include "core/run/ResultsWriter.h"
#include "core/text/TextHelpers.h"
#include "core/tools/BatchTool.h"
#include "core/tools/CleanedCopy.h"
#include "core/tools/LineReader.h"
#include "core/tools/WebCharacters.h"
#include "ports/CleanedCopies.h"
#include "ports/Dialogs.h"

namespace trawlit {

namespace {

// How one reading of a file ended.
enum class ReadEnd : std::uint8_t { Complete, Failed, Stopped };

ReadEnd EndOf(const LineReader& reader)
{
    if (reader.Failed()) {
        return ReadEnd::Failed;
    }
    return reader.Stopped() ? ReadEnd::Stopped : ReadEnd::Complete;
}

constexpr const char* kNotOurCopy = " exists and is not a copy made by Trawlit: left as it is";
constexpr std::size_t kLeftAloneNamedInMessage = 5;

// The cleaning's results: the copy's text, the dropped characters listed in the results
// file, and the message about a byte 129 without its "E".
class CleanupOutput : public CleanupSink {
public:
    CleanupOutput(ResultsWriter& results, Dialogs& dialogs, CleanedCopy& copy)
        : results_(results)
        , dialogs_(dialogs)
        , copy_(copy)
    {
    }
    void Keep(std::string_view text) override
    {
        if (copy_.Begun()) {
            copy_.Write(text);
        }
    }
    void Unmatched(std::uint32_t code, std::string_view character) override
    {
        results_.Write("   " + std::to_string(code) + " '");
        results_.Write(character);
        results_.WriteLine("'");
    }
    void NoEAfter129() override { dialogs_.MsgBox("129 NOT FOUND"); }

private:
    ResultsWriter& results_;
    Dialogs& dialogs_;
    CleanedCopy& copy_;
};

class WebCleanupSteps : public BatchTool {
public:
    WebCleanupSteps(const RunInputs& inputs, RunPorts ports, CleanedCopies& copies)
        : BatchTool(inputs, ports, ReadingToolPolicy(std::nullopt))
        , copies_(copies)
    {
    }

    std::int64_t CopiesNotWritten() const { return copiesNotWritten_; }

    // A copy rewritten by this run is visited like any file when the listing held it.
    void VisitFile(const WalkFile& file) override
    {
        std::int16_t fileNumber = 0;
        if (!OpenFileOfTree(file, fileNumber)) {
            CountFile();
            return;
        }
        LineReader survey(Ports().files, fileNumber, [this] { return StopRequested(); },
            { .utf8Lines = false, .keepLineEnds = true });
        bool empty = true;
        bool needsCleaning = false;
        while (!needsCleaning && survey.Next(line_)) {
            empty = false;
            needsCleaning = NeedsCleaning(line_);
        }
        const ReadEnd surveyed = EndOf(survey);
        if (surveyed == ReadEnd::Failed) {
            ReportReadFailure(file);
        } else if (surveyed == ReadEnd::Complete && !empty) {
            Writer().WriteLine(file.checkPath);
            if (needsCleaning) {
                CleanIntoCopy(file, fileNumber, survey.Encoding());
            }
            Writer().Write("\r\n");
        }
        CloseFile(fileNumber);
        if (surveyed != ReadEnd::Stopped) {
            CountFile();
        }
    }

protected:
    // A read-only results file is replaced too. It is emptied rather than deleted first:
    // deleting would remove a link (such as /dev/stdout) in place of the file it names.
    std::int16_t ResultsOpenType() override
    {
        if (Ports().platform.fileSystem.Examine(Options().OutputPathname) == EntryKind::File) {
            return OpenType::SequentialOutput | OpenType::ClearReadOnlyFirst;
        }
        return OpenType::SequentialOutput;
    }

    void OnResultsFileNotCreated() override
    {
        Ports().dialogs.MsgBox("Open Error: " + Options().OutputPathname);
    }

    std::string ClosingMessage(bool aborted) const override
    {
        std::string message = BatchTool::ClosingMessage(aborted);
        if (copiesNotWritten_ > 0) {
            message += PLURAL(static_cast<double>(copiesNotWritten_), "copy",
                           PluralFlags::NoLeadingBlank | PluralFlags::Ies)
                + " could not be written.\r\n\r\n";
        }
        for (std::size_t i = 0; i < leftAlone_.size() && i < kLeftAloneNamedInMessage; ++i) {
            message += leftAlone_[i] + kNotOurCopy + ".\r\n";
        }
        if (leftAlone_.size() > kLeftAloneNamedInMessage) {
            message += "... and " + std::to_string(leftAlone_.size() - kLeftAloneNamedInMessage)
                + " more (listed in the results file).\r\n";
        }
        return message;
    }

private:
    static bool NeedsCleaning(std::string_view text)
    {
        for (const char c : text) {
            if (!IsKeptAsIs(static_cast<unsigned char>(c))) {
                return true;
            }
        }
        return false;
    }

    // Cleans the file's text from its start into the sink, line by line: each line is read as
    // the search reads it.
    ReadEnd Clean(std::int16_t fileNumber, CleanupSink& sink)
    {
        WebCleaner cleaner(sink);
        LineReader reader(Ports().files, fileNumber, [this] { return StopRequested(); },
            { .utf8Lines = true, .keepLineEnds = true, .fromStart = true });
        while (reader.Next(line_)) {
            cleaner.Feed(line_);
        }
        const ReadEnd end = EndOf(reader);
        if (end == ReadEnd::Complete) {
            cleaner.Finish();
        }
        return end;
    }

    // Only nothing or a copy this program wrote is ever replaced; the dropped characters are
    // listed either way.
    void CleanIntoCopy(const WalkFile& file, std::int16_t fileNumber, FileEncoding encoding)
    {
        const std::string copyPath = file.displayPath + "2";
        const CopyStanding found = copies_.WhatStandsAt(copyPath);
        CleanedCopy copy(Ports().files, Ports().platform.fileSystem, copies_);
        PlatformError error;
        if (found == CopyStanding::Nothing || found == CopyStanding::OwnCopy) {
            error = copy.Begin(file, copyPath, found, encoding);
        } else if (found == CopyStanding::Folder) {
            error = ErrorWithCause(ErrorNumber::PathFileAccessError, "a folder has this name");
        }
        CleanupOutput output(Writer(), Ports().dialogs, copy);
        const ReadEnd cleaned = Clean(fileNumber, output);
        if (cleaned == ReadEnd::Failed) {
            ReportReadFailure(file);
        }
        if (found == CopyStanding::Other) {
            LeaveAlone(file.checkPath + "2");
        } else if (!copy.Begun()) {
            ++copiesNotWritten_;
            Ports().files.ReportOpenError(error, copyPath);
            Ports().dialogs.MsgBox("Open error on write: " + file.checkPath);
        } else if (cleaned == ReadEnd::Complete) {
            Commit(copy, copyPath);
        }
    }

    void Commit(CleanedCopy& copy, const std::string& copyPath)
    {
        PlatformError error;
        switch (copy.Commit(error)) {
        case CopyPlacing::Placed:
            return;
        case CopyPlacing::SomethingElseStands:
            LeaveAlone(copyPath);
            return;
        case CopyPlacing::Failed:
            break;
        }
        ++copiesNotWritten_;
        Ports().dialogs.MsgBox("Unable to write the cleaned copy \r\n\r\n" + copyPath
                + "\r\n\r\nRun-time error '" + std::to_string(error.number)
                + "': " + error.description + "\r\n\r\nNo copy was made.",
            MsgBoxCode::Critical, "File Write Error");
    }

    void LeaveAlone(const std::string& shownCopy)
    {
        Writer().WriteLine("   " + shownCopy + kNotOurCopy);
        leftAlone_.push_back(shownCopy);
    }

    CleanedCopies& copies_;
    std::string line_;
    std::vector<std::string> leftAlone_; // files at copies' names that are no copies of ours
    std::int64_t copiesNotWritten_ = 0;
};

} // namespace

RunResult RunWebCleanup(const RunInputs& inputs, RunPorts ports, CleanedCopies& copies)
{
    WebCleanupSteps cleanup(inputs, ports, copies);
    RunResult result = cleanup.Run();
    result.copiesNotWritten = cleanup.CopiesNotWritten();
    return result;
}

} // namespace trawlit
