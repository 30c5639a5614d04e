#pragma once

#include <string>

#include <gtest/gtest.h>

#include "Version.h"
#include "core/files/FileRoutines.h"
#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeRunView.h"
#include "fakes/RecordingDialogs.h"

namespace trawlit::fakes {

// A batch tool's run over an in-memory tree under /Data, its results going to /out. The clock
// shows 07-Dec-26 at 14:05.
class ToolRunFixture : public ::testing::Test {
protected:
    static constexpr const char* kOutput = "/out/Trawlit.out";

    ToolRunFixture()
    {
        platform.now = { 2026, 12, 7, 14, 5 };
        platform.AddFolder("/Data");
        platform.AddFolder("/out");
        options.RootFolder = "/Data";
        options.OutputPathname = kOutput;
        options.SearchStr = "not used";
    }

    RunPorts Ports() { return RunPorts { window, platform.AsPlatform(), dialogs, files }; }
    std::string Results() const { return platform.Contents(kOutput); }

    // The results file after its header.
    std::string Body(int headerLines = 10) const
    {
        const std::string text = Results();
        std::size_t at = 0;
        for (int line = 0; line < headerLines && at != std::string::npos; ++line) {
            at = text.find("\r\n", at);
            at = at == std::string::npos ? at : at + 2;
        }
        return at == std::string::npos ? std::string() : text.substr(at);
    }

    static std::string Header(const std::string& title, const std::string& root = "/Data",
        const std::string& fileTemplate = "*.*", const std::string& traverse = "Yes")
    {
        return "Trawlit (version " + std::to_string(kVersionMajor) + "."
            + std::to_string(kVersionMinor) + ") -- 07-Dec-26 at 14:05\r\n\r\n   " + title
            + "\r\n\r\n             Root folder:  " + root + "\r\n           File template:  "
            + fileTemplate + "\r\n     Traverse subfolders:  " + traverse
            + "\r\n             Output file:  " + kOutput + "\r\n\r\n\r\n";
    }

    static std::string TotalFilesBlock(int files)
    {
        return "\r\n\r\n----------------\r\nTrawlit Counts:\r\n----------------\r\n\r\n"
               "   Total files processed:  "
            + std::to_string(files) + "\r\n";
    }

    // The user clicks Abort (and answers Yes) during the yield after the n-th counted file.
    void AbortAfterFiles(std::int64_t fileCount)
    {
        platform.inputPendingDefault = true;
        platform.onDoEvents = [this, fileCount] {
            if (window.counters[0] == fileCount) {
                window.abortRequested = true;
            }
        };
    }

    SearchOptions options;
    FakeRunView window;
    FakePlatform platform;
    RecordingDialogs dialogs;
    FileRoutines files { platform, dialogs };
};

} // namespace trawlit::fakes
