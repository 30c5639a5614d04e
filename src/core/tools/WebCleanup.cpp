#include "core/tools/WebCleanup.h"

#include <set>
#include <utility>
#include <vector>

#include "core/files/ErrorNumbers.h"
#include "core/files/FileRoutines.h"
#include "core/run/ResultsWriter.h"
#include "core/tools/BatchTool.h"
#include "core/tools/WebCharacters.h"
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

// What stands where a file's copy goes.
enum class CopyPlace : std::uint8_t {
    Free, // nothing, or an earlier cleaned copy
    ResultsFile,
    NotACopy, // a file with characters no cleaned copy holds: someone's own file
    Unreadable,
};

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
    explicit WebCleanupSteps(RunPorts ports)
        : BatchTool(ports, WebCleanupPolicy())
        , buffer_(kBlockSize)
    {
    }

    void VisitFile(const WalkFile& file) override
    {
        std::int16_t fileNumber = 0;
        if (!OpenFileOfTree(file, fileNumber)) {
            CountFile();
            return;
        }
        if (IsCopyOfThisRun(fileNumber)) {
            CloseFile(fileNumber);
            return;
        }
        CleanupSurvey survey;
        bool empty = true;
        if (!Survey(fileNumber, survey, empty)) {
            ReportReadFailure(file);
        } else if (!empty) {
            Writer().WriteLine(file.checkPath);
            if (survey.NeedsCleaning()) {
                CleanIntoCopy(file, fileNumber, survey.Encoding());
            }
            Writer().Write("\r\n");
        }
        CloseFile(fileNumber);
        CountFile();
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

private:
    using IdentityKey = std::pair<std::uint64_t, std::uint64_t>;

    bool IsCopyOfThisRun(std::int16_t fileNumber)
    {
        FileIdentity identity;
        return Ports().files.IdentityOf(fileNumber, identity)
            && copiesWritten_.contains({ identity.device, identity.inode });
    }

    // Reads the file once to learn whether it needs cleaning and how its text is encoded.
    bool Survey(std::int16_t fileNumber, CleanupSurvey& survey, bool& empty)
    {
        empty = true;
        while (!survey.Settled()) {
            const std::ptrdiff_t got
                = Ports().files.ReadBytes(fileNumber, buffer_.data(), buffer_.size());
            if (got < 0) {
                return false;
            }
            if (got == 0) {
                break;
            }
            empty = false;
            survey.Feed(std::string_view(buffer_.data(), static_cast<std::size_t>(got)));
        }
        survey.Finish();
        return true;
    }

    // Cleans the file from its start into the sink.
    bool Clean(std::int16_t fileNumber, TextEncoding encoding, CleanupSink& sink)
    {
        WebCleaner cleaner(encoding, sink);
        std::int64_t offset = 0;
        for (;;) {
            const std::ptrdiff_t got
                = Ports().files.ReadBytesAt(fileNumber, offset, buffer_.data(), buffer_.size());
            if (got < 0) {
                return false;
            }
            if (got == 0) {
                cleaner.Finish();
                return true;
            }
            cleaner.Feed(std::string_view(buffer_.data(), static_cast<std::size_t>(got)));
            offset += got;
        }
    }

    // The copy is written under a temporary name and takes its own name only when it is
    // complete; whatever stops it, no half copy is left looking whole.
    void CleanIntoCopy(const WalkFile& file, std::int16_t fileNumber, TextEncoding encoding)
    {
        const std::string copyPath = file.displayPath + "2";
        PlatformError openError;
        const CopyPlace place = LookAtCopyPlace(copyPath, openError);
        std::string temporaryPath;
        std::optional<std::int16_t> copyNumber;
        if (place == CopyPlace::Free) {
            Ports().files.DeleteFile(copyPath, DeleteFlags::ClearReadOnlyFirst);
            copyNumber = OpenTemporaryCopy(file, temporaryPath, openError);
        }
        std::optional<ResultsWriter> copy;
        if (copyNumber) {
            copy.emplace(Ports().files, *copyNumber);
        }
        CleanupOutput output(Writer(), Ports().dialogs, copy ? &*copy : nullptr);
        const bool read = Clean(fileNumber, encoding, output);
        if (!read) {
            ReportReadFailure(file);
        }
        if (copy) {
            FinishCopy(*copy, *copyNumber, temporaryPath, copyPath, read);
            return;
        }
        ReportNoCopy(place, openError, copyPath, file.checkPath);
    }

    CopyPlace LookAtCopyPlace(const std::string& copyPath, PlatformError& error)
    {
        if (Ports().platform.fileSystem.Examine(copyPath) != EntryKind::File) {
            return CopyPlace::Free; // a folder there makes the renaming fail, and says why
        }
        std::int16_t fileNumber = 0;
        error = Ports().files.TryOpenFile(
            copyPath, fileNumber, OpenType::Binary | OpenType::ReadOnly, -1);
        if (error) {
            return CopyPlace::Unreadable;
        }
        FileIdentity identity;
        CopyPlace place = CopyPlace::Free;
        CleanupSurvey survey;
        bool empty = true;
        if (Ports().files.IdentityOf(fileNumber, identity) && identity == ResultsFileIdentity()) {
            place = CopyPlace::ResultsFile;
        } else if (!Survey(fileNumber, survey, empty)) {
            error = ErrorWithNumber(ErrorNumber::DeviceIoError);
            place = CopyPlace::Unreadable;
        } else if (survey.NeedsCleaning()) {
            place = CopyPlace::NotACopy;
        }
        CloseFile(fileNumber);
        return place;
    }

    // A hidden name beside the file, which no walk visits and no earlier file holds.
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
            error = Ports().files.TryOpenFile(temporaryPath, copyNumber, kCopyOpenType, -1);
            if (error) {
                return std::nullopt;
            }
            return copyNumber;
        }
        error = ErrorWithNumber(ErrorNumber::PathFileAccessError);
        return std::nullopt;
    }

    void FinishCopy(ResultsWriter& copy, std::int16_t copyNumber, const std::string& temporaryPath,
        const std::string& copyPath, bool complete)
    {
        FileIdentity identity;
        const bool identityKnown = Ports().files.IdentityOf(copyNumber, identity);
        copy.Close();
        PlatformError error = copy.Error();
        if (!error && complete
            && Ports().platform.fileSystem.Rename(temporaryPath, copyPath, error)) {
            if (identityKnown) {
                copiesWritten_.insert({ identity.device, identity.inode });
            }
            return;
        }
        PlatformError ignored;
        Ports().platform.fileSystem.Remove(temporaryPath, ignored);
        if (error) {
            Ports().dialogs.MsgBox("Unable to write the cleaned copy \r\n\r\n" + copyPath
                    + "\r\n\r\nRun-time error '" + std::to_string(error.number)
                    + "': " + error.description + "\r\n\r\nNo copy was made.",
                MsgBoxCode::Critical, "File Write Error");
        }
    }

    void ReportNoCopy(CopyPlace place, const PlatformError& openError, const std::string& copyPath,
        const std::string& shownPath)
    {
        switch (place) {
        case CopyPlace::ResultsFile:
            Ports().dialogs.MsgBox(
                copyPath + "\r\n\r\nis the results file: the cleaned copy was not written.",
                MsgBoxCode::Exclamation);
            break;
        case CopyPlace::NotACopy:
            Ports().dialogs.MsgBox(copyPath
                    + "\r\n\r\nis no cleaned copy (it holds characters a copy never holds): "
                      "it was left as it is.",
                MsgBoxCode::Exclamation);
            break;
        case CopyPlace::Unreadable:
        case CopyPlace::Free:
            Ports().files.ReportOpenError(openError, copyPath);
            break;
        }
        Ports().dialogs.MsgBox("Open error on write: " + shownPath);
    }

    std::vector<char> buffer_;
    std::set<IdentityKey> copiesWritten_;
};

} // namespace

RunResult RunWebCleanup(RunPorts ports)
{
    WebCleanupSteps cleanup(ports);
    return cleanup.Run();
}

} // namespace trawlit
