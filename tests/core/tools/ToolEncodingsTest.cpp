#include "core/text/FileEncoding.h"
#include "core/text/TextDecode.h"
#include "core/tools/CHeaderExtraction.h"
#include "core/tools/ChangeMarkCount.h"
#include "core/tools/WebCleanup.h"

#include "core/tools/ToolRunFixture.h"
#include "fakes/FakeCleanedCopies.h"

namespace trawlit {
namespace {

enum class Form { Utf8, Utf8Marked, Utf16Le, Utf16Be, Windows1252 };

// `text` (UTF-8) as a file of that form; nothing when Windows-1252 cannot hold it.
std::optional<std::string> FileBytes(const std::string& text, Form form)
{
    std::string bytes;
    switch (form) {
    case Form::Utf8:
        return text;
    case Form::Utf8Marked:
        return std::string(MarkOf(FileEncoding::Utf8Marked)) + text;
    case Form::Utf16Le:
    case Form::Utf16Be: {
        const FileEncoding encoding
            = form == Form::Utf16Le ? FileEncoding::Utf16Le : FileEncoding::Utf16Be;
        bytes = MarkOf(encoding);
        AppendEncoded(encoding, text, bytes);
        return bytes;
    }
    case Form::Windows1252:
        for (std::size_t at = 0; at < text.size();) {
            char32_t codePoint = 0;
            std::size_t length = 0;
            DecodeUtf8At(text, at, codePoint, length);
            const auto byte = CodePointToWindows1252(codePoint);
            if (!byte) {
                return std::nullopt;
            }
            bytes += static_cast<char>(*byte);
            at += length;
        }
        return bytes;
    }
    return std::nullopt;
}

struct ToolOutput {
    std::string results;
    std::string copy;
    std::vector<std::string> messages;
    bool operator==(const ToolOutput&) const = default;
};

using ToolRun = RunResult (*)(const RunInputs&, RunPorts, fakes::FakeCleanedCopies&);

// Each run on the tree holding the one file, without the copy of the last run.
class ToolEncodingsTest : public fakes::ToolRunFixture {
protected:
    ToolOutput RunOn(ToolRun run, const std::string& bytes);
};

ToolOutput ToolEncodingsTest::RunOn(ToolRun run, const std::string& bytes)
{
    PlatformError ignored;
    platform.Remove("/Data/t.txt2", ignored);
    platform.AddFile("/Data/t.txt", bytes);
    dialogs.messages.clear();
    fakes::FakeCleanedCopies copies(platform);
    run(options, Ports(), copies);
    ToolOutput output { Results(), platform.Contents("/Data/t.txt2"), {} };
    for (const auto& message : dialogs.messages) {
        output.messages.push_back(message.text);
    }
    return output;
}

// Every tool reads a file as text whatever its encoding: each form gives what its UTF-8 twin
// gives, every results file is UTF-8, and the cleaned copy keeps its original's encoding.
TEST_F(ToolEncodingsTest, EachFormGivesWhatItsUtf8TwinGives)
{
    struct ReadingTool {
        const char* name;
        ToolRun run;
    };
    const ReadingTool tools[] = {
        { "c-headers",
            [](const RunInputs& inputs, RunPorts ports, fakes::FakeCleanedCopies&) {
                return RunCHeaderExtraction(inputs, ports);
            } },
        { "change-marks",
            [](const RunInputs& inputs, RunPorts ports, fakes::FakeCleanedCopies&) {
                return RunChangeMarkCount(inputs, ports);
            } },
        { "web-cleanup",
            [](const RunInputs& inputs, RunPorts ports, fakes::FakeCleanedCopies& copies) {
                return RunWebCleanup(inputs, ports, copies);
            } },
    };
    const std::string texts[] = {
        "/D 2, 4\r\n  caf\u00E9 \u201Cq\u201D \u0192\u20AC \r\n/I\n\u00BD \u00FF\n*/ end\n/D 7",
        "\u0443\u0440\u043E\u043A caf\u00E9 \U0001F642\r\n#include <x>\r\n/C\r\n",
    };
    const Form forms[] = { Form::Utf8Marked, Form::Utf16Le, Form::Utf16Be, Form::Windows1252 };
    for (const ReadingTool& tool : tools) {
        for (const std::string& text : texts) {
            const ToolOutput twin = RunOn(tool.run, text);
            EXPECT_TRUE(IsValidUtf8(twin.results)) << tool.name;
            for (const Form form : forms) {
                const auto bytes = FileBytes(text, form);
                if (!bytes) {
                    continue;
                }
                SCOPED_TRACE(std::string(tool.name) + " form " + std::to_string(int(form)));
                ToolOutput output = RunOn(tool.run, *bytes);
                EXPECT_TRUE(IsValidUtf8(output.results));
                if (!twin.copy.empty()) {
                    EXPECT_EQ(output.copy, FileBytes(twin.copy, form).value());
                    output.copy = twin.copy;
                }
                EXPECT_EQ(output, twin);
            }
        }
    }
}

} // namespace
} // namespace trawlit
