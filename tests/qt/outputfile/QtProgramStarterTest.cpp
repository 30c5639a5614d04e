#include "qt/outputfile/QtProgramStarter.h"

#include <QByteArray>
#include <QDir>
#include <QTest>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/files/FileRoutines.h"
#include "core/outputfile/Viewers.h"
#include "fakes/RecordingDialogs.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"
#include "qt/outputfile/QtDesktopEditor.h"
#include "qt/outputfile/QtViewerPorts.h"

namespace trawlit {
namespace {

using fakes::RecordingDialogs;
using fakes::TempFolder;
using Words = std::vector<std::string>;
namespace fs = std::filesystem;

// A viewer that writes its arguments, each ended by a NUL, to `<its folder>/<its name>.args`,
// completing the file by a rename so that a reader never sees half of it.
constexpr const char* kRecordingViewer = "#!/bin/sh\n"
                                         "PATH=/usr/bin:/bin\n"
                                         "record=\"$0.args\"\n"
                                         "printf '%s\\0' \"$@\" > \"$record.part\"\n"
                                         "mv \"$record.part\" \"$record\"\n";

std::string AddRecordingViewer(const TempFolder& temp, const std::string& name)
{
    const std::string path = temp.Write(name, kRecordingViewer);
    fs::permissions(path, fs::perms::owner_all);
    return path;
}

// The arguments the viewer at `path` was started with; fails the test when it never ran.
Words RecordedArguments(const std::string& viewerPath)
{
    const std::string record = viewerPath + ".args";
    EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(record); }, 10000)) << "never ran";
    Words words;
    std::string word;
    for (char c : TempFolder::ReadWholeFile(record)) {
        if (c == '\0') {
            words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return words;
}

// Points PATH somewhere else for one test, and the working folder too.
class ScopedEnvironment {
public:
    ScopedEnvironment(const std::string& path, const std::string& workingFolder)
        : oldPath_(qgetenv("PATH"))
        , oldFolder_(QDir::currentPath())
    {
        qputenv("PATH", QByteArray::fromStdString(path));
        QDir::setCurrent(QString::fromStdString(workingFolder));
    }
    ~ScopedEnvironment()
    {
        qputenv("PATH", oldPath_);
        QDir::setCurrent(oldFolder_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    QByteArray oldPath_;
    QString oldFolder_;
};

TEST(QtProgramStarterTest, AHostileFileNameReachesTheViewerWholeAndRunsNothing)
{
    TempFolder temp;
    const std::string viewer = AddRecordingViewer(temp, "my viewer.sh");
    const std::string path
        = temp.Write("it's a \"test\"; $(touch pwned) `touch pwned2` & | > out.txt", "text");
    ScopedEnvironment environment(qEnvironmentVariable("PATH").toStdString(), temp.Path());
    SmallFileViewer = "\"" + viewer + "\" --read-only";

    PosixPlatform platform;
    RecordingDialogs dialogs;
    FileRoutines files(platform, dialogs);
    QtViewerPorts ports(files, platform, dialogs);
    ViewFile(path, ports.Ports());
    SetDefaultViewers();

    EXPECT_EQ(RecordedArguments(viewer), (Words { "--read-only", path }));
    EXPECT_TRUE(dialogs.messages.empty());
    for (const char* stray : { "pwned", "pwned2", "out.txt" })
        EXPECT_FALSE(fs::exists(temp / stray)) << stray;
}

TEST(QtProgramStarterTest, DefaultAndCapitalisedNamesFindTheirPrograms)
{
    struct Case {
        const char* program;
        const char* onPath;
    };
    const std::vector<Case> cases = {
        { "NOTEPAD.EXE", "mousepad" }, // the stand-in for the default
        { "WRITE.EXE", "xdg-open" }, // the desktop's opener when no editor is there
        { "MYVIEWER", "myviewer" }, // kept in capitals, found in any case
    };
    for (const Case& c : cases) {
        TempFolder temp;
        const std::string viewer = AddRecordingViewer(temp, std::string("bin/") + c.onPath);
        ScopedEnvironment environment(temp / "bin", temp.Path());
        QtProgramStarter starter;
        ASSERT_TRUE(starter.StartDetached(c.program, { "/tmp/a b.txt" })) << c.program;
        EXPECT_EQ(RecordedArguments(viewer), Words { "/tmp/a b.txt" }) << c.program;
    }
}

TEST(QtProgramStarterTest, DesktopEntryCommandsTakeTheDocumentWhereTheirFieldCodeStands)
{
    struct Case {
        const char* entry;
        QStringList command;
    };
    const QStringList document { "/tmp/a b.txt" };
    const std::vector<Case> cases = {
        { "[Desktop Entry]\nExec=kate -b %U\n", { "kate", "-b", "/tmp/a b.txt" } },
        { "[Desktop Entry]\nExec=gedit\n", { "gedit", "/tmp/a b.txt" } },
        { "[Desktop Entry]\nExec=\"/opt/my editor/run\" --icon %i %f --at 100%%\n",
            { "/opt/my editor/run", "--icon", "/tmp/a b.txt", "--at", "100%" } },
        { "[Desktop Entry]\nExec=flatpak run org.x.Editor @@u %U @@\n",
            { "flatpak", "run", "org.x.Editor", "@@u", "/tmp/a b.txt", "@@" } },
        { "[Desktop Entry]\nExec=say \"a \\\\\"b\\\\\"\" %f\n",
            { "say", "a \"b\"", "/tmp/a b.txt" } },
        { "[Desktop Entry]\nExec=vim %F\nTerminal=true\n", {} },
        { "[Desktop Action new]\nExec=other\n[Desktop Entry]\nName=x\n", {} },
    };
    for (const Case& c : cases)
        EXPECT_EQ(DesktopEntryCommand(c.entry, document), c.command) << c.entry;
}

// A KDE user with gedit installed gets the editor the desktop names for plain text.
TEST(QtProgramStarterTest, TheDefaultViewersAskTheDesktopForItsTextEditorFirst)
{
    TempFolder temp;
    const std::string chosen = AddRecordingViewer(temp, "bin/chosen-editor");
    const std::string listed = AddRecordingViewer(temp, "bin/gedit");
    const std::string query = temp.Write("bin/xdg-mime", "#!/bin/sh\necho chosen.desktop\n");
    fs::permissions(query, fs::perms::owner_all);
    temp.Write("data/applications/chosen.desktop",
        "[Desktop Entry]\nType=Application\nExec=chosen-editor --new %U\n");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(temp / "data"));
    ScopedEnvironment environment(temp / "bin", temp.Path());
    QtProgramStarter starter;
    EXPECT_TRUE(starter.StartDetached("NOTEPAD.EXE", { "/tmp/a b.txt" }));
    qputenv("XDG_DATA_HOME", oldData);
    EXPECT_EQ(RecordedArguments(chosen), (Words { "--new", "/tmp/a b.txt" }));
    EXPECT_FALSE(fs::exists(listed + ".args"));
}

TEST(QtProgramStarterTest, AProgramThatCannotStartIsReportedWithTheViewerText)
{
    TempFolder temp;
    const std::string path = temp.Write("results.txt", "text");
    const std::string notExecutable = temp.Write("plain", "#!/bin/sh\n");
    ScopedEnvironment environment(temp.Path(), temp.Path());

    QtProgramStarter starter;
    EXPECT_FALSE(starter.StartDetached("NO-SUCH-VIEWER", {}));
    EXPECT_FALSE(starter.StartDetached(notExecutable, {}));

    PosixPlatform platform;
    RecordingDialogs dialogs;
    FileRoutines files(platform, dialogs);
    QtViewerPorts ports(files, platform, dialogs);
    SmallFileViewer = "NO-SUCH-VIEWER --flag";
    ViewFile(path, ports.Ports());
    SetDefaultViewers();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Unable to run NO-SUCH-VIEWER --flag");
}

} // namespace
} // namespace trawlit
