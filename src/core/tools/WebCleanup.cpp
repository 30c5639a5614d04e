#include "core/tools/WebCleanup.h"

#include <utility>
#include <vector>

#include "core/files/ErrorNumbers.h"
#include "core/files/FileRoutines.h"
#include "core/run/ResultsWriter.h"
#include "core/tools/BatchTool.h"
#include "core/tools/WebCharacters.h"
#include "ports/CleanedCopies.h"
#include "ports/Dialogs.h"

namespace trawlit {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;
constexpr int kTemporaryNameTries = 100;
constexpr std::int16_t kCopyOpenType
    = OpenType::Binary | OpenType::WriteOnly | OpenType::ClearReadOnlyFirst | OpenType::DeleteFirst;

BatchToolPolicy WebCleanupPolicy()
{
    BatchToolPolicy policy;
    policy.skippedNameParts = { ".gif", ".jpg" };
    return policy;
}

// How one reading of a file ended.
enum class ReadEnd : std::uint8_t { Complete, Failed, Stopped };

constexpr const char* kNotOurCopy = " exists and is not a copy made by Trawlit: left as it is";
constexpr std::size_t kLeftAloneNamedInMessage = 5;

// The cleaning's results: the copy's text, the dropped characters listed in the results
// file, and the message about a byte 129 without its "E".
class CleanupOutput : public CleanupSink {
public:
    CleanupOutput(ResultsWriter& results, Dialogs& dialogs, ResultsWriter* copy)
        : results_(results)
        , dialogs_(dialogs)
        , copy_(copy)
    {
    }
    void Keep(std::string_view text) override
    {
        if (copy_ != nullptr) {
            copy_->Write(text);
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
    ResultsWriter* copy_;
};

class WebCleanupSteps : public BatchTool {
public:
    WebCleanupSteps(const RunInputs& inputs, RunPorts ports, CleanedCopies& copies)
        : BatchTool(inputs, ports, WebCleanupPolicy())
        , copies_(copies)
        , buffer_(kBlockSize)
    {
    }

    // A copy rewritten by this run is visited like any file when the listing held it.
    void VisitFile(const WalkFile& file) override
    {
        std::int16_t fileNumber = 0;
        if (!OpenFileOfTree(file, fileNumber)) {
            CountFile();
            return;
        }
        CleanupSurvey survey;
        bool empty = true;
        const ReadEnd surveyed = Survey(fileNumber, survey, empty);
        if (surveyed == ReadEnd::Failed) {
            ReportReadFailure(file);
        } else if (surveyed == ReadEnd::Complete && !empty) {
            Writer().WriteLine(file.checkPath);
            if (survey.NeedsCleaning()) {
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
    // Reads the file once to learn whether it needs cleaning and how its text is encoded.
    ReadEnd Survey(std::int16_t fileNumber, CleanupSurvey& survey, bool& empty)
    {
        empty = true;
        while (!survey.Settled()) {
            if (StopRequested()) {
                return ReadEnd::Stopped;
            }
            const std::ptrdiff_t got
                = Ports().files.ReadBytes(fileNumber, buffer_.data(), buffer_.size());
            if (got < 0) {
                return ReadEnd::Failed;
            }
            if (got == 0) {
                break;
            }
            empty = false;
            survey.Feed(std::string_view(buffer_.data(), static_cast<std::size_t>(got)));
        }
        survey.Finish();
        return ReadEnd::Complete;
    }

    // Cleans the file from its start into the sink.
    ReadEnd Clean(std::int16_t fileNumber, TextEncoding encoding, CleanupSink& sink)
    {
        WebCleaner cleaner(encoding, sink);
        std::int64_t offset = 0;
        for (;;) {
            if (StopRequested()) {
                return ReadEnd::Stopped;
            }
            const std::ptrdiff_t got
                = Ports().files.ReadBytesAt(fileNumber, offset, buffer_.data(), buffer_.size());
            if (got < 0) {
                return ReadEnd::Failed;
            }
            if (got == 0) {
                cleaner.Finish();
                return ReadEnd::Complete;
            }
            cleaner.Feed(std::string_view(buffer_.data(), static_cast<std::size_t>(got)));
            offset += got;
        }
    }

    // The copy is written under a temporary name and takes its own name only when it is
    // complete; whatever stops it, no half copy is left looking whole. Only nothing or a copy
    // this program wrote is ever replaced.
    void CleanIntoCopy(const WalkFile& file, std::int16_t fileNumber, TextEncoding encoding)
    {
        const std::string copyPath = file.displayPath + "2";
        const CopyStanding standing = copies_.WhatStandsAt(copyPath);
        PlatformError openError;
        std::string temporaryPath;
        std::optional<std::int16_t> copyNumber;
        if (standing == CopyStanding::Nothing || standing == CopyStanding::OwnCopy) {
            copyNumber = OpenTemporaryCopy(file, temporaryPath, openError);
        } else if (standing == CopyStanding::Folder) {
            openError = ErrorWithCause(ErrorNumber::PathFileAccessError, "a folder has this name");
        }
        std::optional<ResultsWriter> copy;
        if (copyNumber) {
            copy.emplace(Ports().files, *copyNumber);
        }
        CleanupOutput output(Writer(), Ports().dialogs, copy ? &*copy : nullptr);
        const ReadEnd cleaned = Clean(fileNumber, encoding, output);
        if (cleaned == ReadEnd::Failed) {
            ReportReadFailure(file);
        }
        if (copy) {
            const bool complete = cleaned == ReadEnd::Complete;
            FinishCopy(*copy, temporaryPath, copyPath, complete, standing == CopyStanding::OwnCopy);
        } else if (standing == CopyStanding::Other) {
            const std::string shownCopy = file.checkPath + "2";
            Writer().WriteLine("   " + shownCopy + kNotOurCopy);
            leftAlone_.push_back(shownCopy);
        } else {
            Ports().files.ReportOpenError(openError, copyPath);
            Ports().dialogs.MsgBox("Open error on write: " + file.checkPath);
        }
    }

    // A hidden name beside the file, which no walk visits and no earlier file holds, with
    // the original's permissions before anything is written to it.
    std::optional<std::int16_t> OpenTemporaryCopy(
        const WalkFile& file, std::string& temporaryPath, PlatformError& error)
    {
        const std::string folder
            = file.displayPath.substr(0, file.displayPath.size() - file.name.size());
        for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
            temporaryPath = folder + "." + std::string(file.name) + "2~"
                + (attempt > 0 ? std::to_string(attempt) : "");
            if (Ports().platform.fileSystem.Examine(temporaryPath) != EntryKind::Missing) {
                continue;
            }
            std::int16_t copyNumber = 0;
            copies_.TemporaryInTheMaking(temporaryPath);
            error = Ports().files.TryOpenFile(temporaryPath, copyNumber, kCopyOpenType, -1);
            if (error) {
                copies_.TemporaryDone();
                return std::nullopt;
            }
            if (!copies_.TakePermissionsOf(file.displayPath, temporaryPath)) {
                CloseFile(copyNumber);
                RemoveTemporary(temporaryPath);
                error = ErrorWithCause(
                    ErrorNumber::PermissionDenied, "the original's permissions could not be set");
                return std::nullopt;
            }
            return copyNumber;
        }
        error = ErrorWithNumber(ErrorNumber::PathFileAccessError);
        return std::nullopt;
    }

    void FinishCopy(ResultsWriter& copy, const std::string& temporaryPath,
        const std::string& copyPath, bool complete, bool replacesOwnCopy)
    {
        copy.Close();
        PlatformError error = copy.Error();
        if (!error && complete) {
            if (replacesOwnCopy) {
                Ports().files.DeleteFile(copyPath, DeleteFlags::ClearReadOnlyFirst);
            }
            if (Ports().platform.fileSystem.Rename(temporaryPath, copyPath, error)) {
                copies_.TemporaryDone();
                copies_.Remember(copyPath);
                return;
            }
        }
        RemoveTemporary(temporaryPath);
        if (error) {
            Ports().dialogs.MsgBox("Unable to write the cleaned copy \r\n\r\n" + copyPath
                    + "\r\n\r\nRun-time error '" + std::to_string(error.number)
                    + "': " + error.description + "\r\n\r\nNo copy was made.",
                MsgBoxCode::Critical, "File Write Error");
        }
    }

    void RemoveTemporary(const std::string& temporaryPath)
    {
        // It may carry a read-only original's permissions already.
        Ports().files.DeleteFile(temporaryPath, DeleteFlags::ClearReadOnlyFirst);
        copies_.TemporaryDone();
    }

    CleanedCopies& copies_;
    std::vector<char> buffer_;
    std::vector<std::string> leftAlone_; // files at copies' names that are no copies of ours
};

} // namespace

RunResult RunWebCleanup(const RunInputs& inputs, RunPorts ports, CleanedCopies& copies)
{
    WebCleanupSteps cleanup(inputs, ports, copies);
    return cleanup.Run();
}

} // namespace trawlit
