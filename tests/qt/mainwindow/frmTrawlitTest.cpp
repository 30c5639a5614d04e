#include "qt/mainwindow/frmTrawlit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <new>
#include <thread>

#include <gtest/gtest.h>

#include "Version.h"
#include "core/dialogs/DirBrowse.h"
#include "core/files/FileRoutines.h"
#include "core/outputfile/Viewers.h"
#include "core/run/RunFrame.h"
#include "fakes/FaultyFileSystem.h"
#include "fakes/RecordingDialogs.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"
#include "ports/FileDialogPort.h"
#include "ports/SettingsStore.h"
#include "qt/mainwindow/QtAnimationPlayer.h"
#include "qt/mainwindow/WindowArguments.h"
#include "qt/widgets/QtButtonKbt.h"

namespace trawlit {
namespace {

using fakes::RecordingDialogs;
using fakes::TempFolder;

// The real clock with a fixed date; every name of a walk yields to the event loop and then
// runs the test's hook, which plays the user acting while the run goes on.
class HookEvents : public Clock, public EventPump {
public:
    explicit HookEvents(Clock& real)
        : real_(real)
    {
    }
    double MonotonicSeconds() override { return real_.MonotonicSeconds(); }
    LocalDateTime Now() override { return { 2026, 12, 7, 14, 5 }; }
    bool InputPending() override { return true; }
    void DoEvents() override
    {
        QCoreApplication::processEvents();
        ++yields;
        if (onYield)
            onYield(yields);
    }
    std::function<void(int)> onYield;
    int yields = 0;

private:
    Clock& real_;
};

class ScriptedFileDialog : public FileDialogPort {
public:
    FileDialogAnswer Show(const FileDialogRequest& request) override
    {
        requests.push_back(request);
        return answer;
    }
    FileDialogAnswer answer;
    std::vector<FileDialogRequest> requests;
};

class ScriptedFolderChooser : public FolderChooserPort {
public:
    std::optional<std::string> ChooseFolder(
        const std::string& startFolder, const std::string& title) override
    {
        calls.push_back({ startFolder, title });
        return answer;
    }
    std::optional<std::string> answer;
    std::vector<std::pair<std::string, std::string>> calls;
};

std::string Text(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

class frmTrawlitTest : public ::testing::Test {
protected:
    frmTrawlitTest() { window = NewWindow(); }

    std::unique_ptr<frmTrawlit> NewWindow(const QString& clip = {})
    {
        auto created = std::make_unique<frmTrawlit>(store, dialogs,
            Platform { disk, events, events }, files, fileDialog, chooser,
            clip.isEmpty() ? QString::fromStdString(tree / "none.avi") : clip);
        created->show();
        return created;
    }
    // Puts the window into a "restart": the old one closes and saves, a new one loads.
    void Restart()
    {
        ASSERT_TRUE(window->close());
        window = NewWindow();
    }
    void SetInputs(const std::string& find)
    {
        window->comboSearchStr->setEditText(QString::fromStdString(find));
        window->comboRootFolder->setEditText(QString::fromStdString(tree.Path()));
        window->comboOutputPathname->setEditText(QString::fromStdString(output));
    }
    void ClickSearch() { QTest::mouseClick(window->cmdSearch2, Qt::LeftButton); }
    std::string Stored(const std::string& key)
    {
        return store.Get(kSettingsApplication, kSettingsSection, key);
    }
    void WriteFiles(int count)
    {
        for (int i = 0; i < count; ++i)
            tree.Write("f" + std::to_string(100 + i) + ".txt", "a needle here\n");
    }
    bool IdleLook() const
    {
        return !window->RunBusy() && window->panelInput->isEnabled()
            && window->cmdSearch2->isVisible() && window->cmdRuvReplace->isVisible()
            && !window->cmdAbort->isVisible() && !window->lblTotalFileCount->isVisible()
            && !window->Animation1->isVisible();
    }

    TempFolder tree;
    TempFolder outside;
    std::string output = outside / "Trawlit.out";
    InMemorySettingsStore store;
    RecordingDialogs dialogs;
    PosixPlatform posix;
    // Reads run on the search's workers: a slow disk is played by a pause in each.
    fakes::FaultyFileSystem disk { posix };
    HookEvents events { posix };
    FileRoutines files { disk, dialogs };
    ScriptedFileDialog fileDialog;
    ScriptedFolderChooser chooser;
    std::unique_ptr<frmTrawlit> window;
};

TEST_F(frmTrawlitTest, FirstStartWithAnEmptyStoreShowsTheDefaults)
{
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    EXPECT_EQ(
        window->windowTitle(), QString("Trawlit v%1.%2").arg(kVersionMajor).arg(kVersionMinor));
    EXPECT_EQ(window->chkTraverseSubfolders->checkState(), Qt::Checked);
    EXPECT_EQ(window->chkCaseSensitive->checkState(), Qt::Unchecked);
    EXPECT_EQ(window->chkCollapseWhiteSpace->checkState(), Qt::Unchecked);
    EXPECT_EQ(window->chkOutputCountsOnly->checkState(), Qt::Unchecked);
    EXPECT_EQ(window->comboSearchStr->currentText(), "");
    EXPECT_EQ(window->comboRootFolder->currentText(), home);
    EXPECT_EQ(window->comboOutputPathname->currentText(), home + "/Trawlit.out");
    EXPECT_EQ(window->comboFileTemplate->currentText(), "*.*");
    EXPECT_FALSE(window->cmdTemplateAll->isEnabled());
    EXPECT_TRUE(IdleLook());
}

TEST_F(frmTrawlitTest, EveryStartBeginsWithTheDefaultViewers)
{
    SmallFileViewer = "KATE";
    LargeFileViewer = "";
    Restart();
    EXPECT_EQ(SmallFileViewer, "NOTEPAD.EXE");
    EXPECT_EQ(LargeFileViewer, "WRITE.EXE");
}

struct NamedCaption {
    const char* name;
    const char* caption;
};

TEST_F(frmTrawlitTest, EveryControlCarriesItsNameAndCaption)
{
    const NamedCaption cases[] = {
        { "lblSearchStr", "Find &What" },
        { "lblRootFolder", "&Root Folder" },
        { "cmdFolderBrowse", "&Browse..." },
        { "lblFileTemplate", "File &Template" },
        { "cmdTemplateAll", "&All files (*.*)" },
        { "lblOutputPathname", "&Output File" },
        { "cmdBrowse", "&Browse..." },
        { "chkTraverseSubfolders", "Tra&verse sub-folders" },
        { "chkCaseSensitive", "&Case-sensitive search" },
        { "chkCollapseWhiteSpace", "Colla&pse white space" },
        { "chkOutputCountsOnly", "Outp&ut counts only" },
        { "cmdSearch2", "Start Search" },
        { "cmdFolderListing", "Folder Listing" },
        { "cmdExtractCHeaders", "Extract C headers" },
        { "cmdBrelka", "Brelka's /C /D /I" },
        { "cmdRuvReplace", "Web Chr Cleanup" },
        { "cmdAbort", "Abort" },
        { "lblTotalFileCountHeader", "Total files processed:" },
        { "lblFileFoundCountHeader", "Matching files:" },
        { "lblMatchCountHeader", "Number of matches:" },
    };
    for (const auto& [name, caption] : cases) {
        SCOPED_TRACE(name);
        QWidget* widget = window->findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr);
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            EXPECT_EQ(Text(button->text()), caption);
        else if (auto* label = qobject_cast<QLabel*>(widget))
            EXPECT_EQ(Text(label->text()), caption);
        else
            ADD_FAILURE() << "neither a button nor a label";
    }
    // The fifteen inputs sit on the panel, so disabling it disables them.
    for (const char* name : { "comboSearchStr", "comboRootFolder", "comboFileTemplate",
             "comboOutputPathname", "cmdBrowse", "chkOutputCountsOnly" })
        EXPECT_TRUE(window->panelInput->isAncestorOf(window->findChild<QWidget*>(name))) << name;
    EXPECT_FALSE(window->panelInput->isAncestorOf(window->cmdSearch2));
}

TEST_F(frmTrawlitTest, AccessKeysReachTheirControls)
{
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(window->comboRootFolder->hasFocus());
    QTest::keyClick(window.get(), Qt::Key_U, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->chkOutputCountsOnly->isChecked(); }));
}

TEST_F(frmTrawlitTest, TypingATemplateEnablesAllFilesWhichPutsBackTheWildcard)
{
    QLineEdit* edit = window->comboFileTemplate->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, "*.txt");
    EXPECT_EQ(window->comboFileTemplate->currentText(), "*.txt");
    EXPECT_TRUE(window->cmdTemplateAll->isEnabled());

    QTest::mouseClick(window->cmdTemplateAll, Qt::LeftButton);
    EXPECT_EQ(window->comboFileTemplate->currentText(), "*.*");
    EXPECT_FALSE(window->cmdTemplateAll->isEnabled());
}

TEST_F(frmTrawlitTest, AllFilesIsEnabledExactlyWhenTheTemplateIsNotTheWildcard)
{
    const std::pair<const char*, bool> cases[] = {
        { "*.*", false },
        { " *.*", true },
        { "*.* ", true },
        { "", true },
        { "*.txt", true },
    };
    for (const auto& [text, enabled] : cases) {
        window->comboFileTemplate->setEditText(text);
        EXPECT_EQ(window->cmdTemplateAll->isEnabled(), enabled) << '"' << text << '"';
    }
}

TEST_F(frmTrawlitTest, ChoosingATemplateFromTheListUpdatesAllFiles)
{
    store.Save(kSettingsApplication, kSettingsSection, "FileTemplate1", "*.cpp");
    store.Save(kSettingsApplication, kSettingsSection, "FileTemplate2", "*.*");
    window = NewWindow();
    ASSERT_EQ(window->comboFileTemplate->count(), 2);
    EXPECT_TRUE(window->cmdTemplateAll->isEnabled());
    window->comboFileTemplate->setCurrentIndex(1);
    emit window->comboFileTemplate->activated(1);
    EXPECT_FALSE(window->cmdTemplateAll->isEnabled());
}

TEST_F(frmTrawlitTest, StartSearchWritesTheResultsFileAndReturnsToIdle)
{
    tree.Write("b.txt", "one needle\r\ntwo\r\nthree needle\r\n");
    tree.Write("a.txt", "nothing\n");
    tree.Write("sub/c.txt", "deep needle\n");
    SetInputs("");
    QTest::keyClicks(window->comboSearchStr->lineEdit(), "needle");
    bool busyDuringRun = false;
    events.onYield = [&](int) {
        busyDuringRun = window->RunBusy() && !window->panelInput->isEnabled()
            && window->cmdAbort->isVisible() && !window->cmdSearch2->isVisible();
    };

    ClickSearch();

    const std::string results = TempFolder::ReadWholeFile(output);
    EXPECT_NE(results.find("               Find What:  needle\r\n"), std::string::npos);
    EXPECT_NE(results.find("\r\n/b.txt\r\n\r\n\t1:\tone needle\r\n\t3:\tthree needle\r\n"),
        std::string::npos);
    EXPECT_NE(results.find("\r\n/sub/c.txt\r\n\r\n\t1:\tdeep needle\r\n"), std::string::npos);
    EXPECT_NE(results.find("   Total files processed:  3\r\n          Matching files:  2\r\n"
                           "       Number of matches:  3\r\n"),
        std::string::npos);
    EXPECT_EQ(results.find("a.txt"), std::string::npos);
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(dialogs.outputFiles[0].path, output);
    EXPECT_TRUE(busyDuringRun);
    EXPECT_TRUE(IdleLook());
    EXPECT_FALSE(window->cmdTemplateAll->isEnabled()); // the template is still "*.*"
    EXPECT_EQ(window->lblTotalFileCount->text(), "3");
    EXPECT_EQ(window->lblMatchCount->text(), "3");
    ASSERT_GE(window->comboSearchStr->count(), 1);
    EXPECT_EQ(window->comboSearchStr->itemText(0), "needle");
}

TEST_F(frmTrawlitTest, EnterInFindWhatStartsTheSearch)
{
    WriteFiles(1);
    SetInputs("");
    EXPECT_TRUE(window->cmdSearch2->isDefault());
    QApplication::setActiveWindow(window.get());
    window->comboSearchStr->setFocus();
    QTest::keyClicks(window->comboSearchStr, "needle");
    QTest::keyClick(window->comboSearchStr, Qt::Key_Return);
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_NE(TempFolder::ReadWholeFile(output).find("\t1:\ta needle here"), std::string::npos);
    EXPECT_TRUE(IdleLook());
}

// A click checks the text to find before it records anything, and records before the run
// probes the root; the tools record the folder inputs only.
TEST_F(frmTrawlitTest, ClicksRefuseABlankTextAndRecordTheirInputsFirst)
{
    struct Case {
        const char* what;
        std::string find;
        ButtonKbt* frmTrawlit::*button;
        std::string root;
        bool refused;
        int searchHistory;
    };
    const Case cases[] = {
        { "blank text", "   ", &frmTrawlit::cmdSearch2, tree.Path(), true, 0 },
        { "search", " needle", &frmTrawlit::cmdSearch2, tree / "missing", false, 1 },
        { "tool", "other", &frmTrawlit::cmdFolderListing, tree / "missing", false, 1 },
    };
    QApplication::setActiveWindow(window.get());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.messages.clear();
        SetInputs(c.find);
        window->comboRootFolder->setEditText(QString::fromStdString(c.root));
        window->comboFileTemplate->setEditText("  ");
        QTest::mouseClick(window.get()->*c.button, Qt::LeftButton);

        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text,
            c.refused ? "Search String must be specified!"
                      : c.root + "\r\n\r\nRoot folder not found!");
        EXPECT_EQ(dialogs.messages[0].code, c.refused ? 48 : 0);
        EXPECT_EQ(window->comboSearchStr->count(), c.searchHistory);
        EXPECT_EQ(
            window->comboSearchStr->itemText(0).toStdString(), c.searchHistory ? " needle" : "");
        EXPECT_EQ(window->comboRootFolder->itemText(0).toStdString(),
            c.refused ? Text(QDir::homePath()) : c.root);
        EXPECT_EQ(window->comboFileTemplate->itemText(0), "*.*");
        if (c.refused) {
            EXPECT_TRUE(window->comboSearchStr->hasFocus());
        }
        EXPECT_TRUE(IdleLook());
    }
}

// The header names the boxes as they show the inputs once recorded: a text that matches an
// earlier entry but for letter case shows that entry, while the search looks for what was typed.
TEST_F(frmTrawlitTest, TheHeaderNamesTheRecordedEntryTheSearchTheTypedText)
{
    tree.Write("a.txt", "needle\nNEEDLE\n");
    window->chkCaseSensitive->setChecked(true);
    SetInputs("needle");
    ClickSearch();
    SetInputs("NEEDLE");
    ClickSearch();

    const std::string results = TempFolder::ReadWholeFile(output);
    EXPECT_NE(results.find("Find What:  needle\r\n"), std::string::npos);
    EXPECT_NE(results.find("\t2:\tNEEDLE\r\n"), std::string::npos);
    EXPECT_EQ(results.find("\t1:\tneedle\r\n"), std::string::npos);
}

// "~" is the home folder in both paths, for the run and for the output browse alike.
TEST_F(frmTrawlitTest, ALeadingTildeInThePathsIsTheHomeFolder)
{
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(tree.Path()));
    tree.Write("sub/a.txt", "a needle\n");
    window->comboSearchStr->setEditText("needle");
    window->comboRootFolder->setEditText(" ~/sub ");
    window->comboOutputPathname->setEditText("~/Trawlit.out");
    ClickSearch();
    fileDialog.answer = {};
    QTest::mouseClick(window->cmdBrowse, Qt::LeftButton);
    qputenv("HOME", savedHome);

    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(dialogs.outputFiles[0].path, tree / "Trawlit.out");
    EXPECT_NE(
        tree.Read("Trawlit.out").find("Root folder:  " + tree / "sub\r\n"), std::string::npos);
    ASSERT_EQ(fileDialog.requests.size(), 1u);
    EXPECT_EQ(fileDialog.requests[0].fileName, tree / "Trawlit.out");
}

// With the reading on worker threads the window handles its messages while one slow file is
// read, and an abort ends that file where it is.
TEST_F(frmTrawlitTest, AnAbortIsHeardWhileASlowFileIsRead)
{
    tree.Write("slow.txt", std::string(1 << 20, 'x') + "\nneedle\n"); // 9 reads
    disk.readPause = std::chrono::milliseconds(40);
    window->SetSearchThreads(2);
    SetInputs("needle");
    dialogs.answers = { MsgBoxAnswer::Yes };
    events.onYield = [&](int yield) {
        if (yield == 3)
            QTest::mouseClick(window->cmdAbort, Qt::LeftButton);
    };

    ClickSearch();

    EXPECT_LT(disk.reads, 8);
    const std::string results = TempFolder::ReadWholeFile(output);
    EXPECT_NE(results.find("*** PROCESSING WAS ABORTED VIA USER ACTION ***"), std::string::npos);
    EXPECT_EQ(results.find(":\tneedle"), std::string::npos);
    EXPECT_EQ(window->lblTotalFileCount->text(), "1");
    EXPECT_TRUE(IdleLook());
}

// Memory that runs out inside a run ends it with its results marked, says so in a box, and
// leaves the window ready for the next run.
TEST_F(frmTrawlitTest, MemoryThatRunsOutIsToldAndTheWindowIsIdleAgain)
{
    tree.Write("a.txt", "needle\n");
    disk.beforeRead = [](int) { throw std::bad_alloc(); };
    SetInputs("needle");

    ClickSearch();

    disk.beforeRead = nullptr;
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, kOutOfMemory);
    EXPECT_EQ(dialogs.messages[0].code, MsgBoxCode::Critical);
    EXPECT_NE(
        TempFolder::ReadWholeFile(output).find("*** PROCESSING WAS ABORTED"), std::string::npos);
    EXPECT_TRUE(dialogs.outputFiles.empty());
    EXPECT_TRUE(IdleLook());
}

TEST_F(frmTrawlitTest, AbortAnsweredNoGoesOnAndYesStopsTheRun)
{
    WriteFiles(20);
    SetInputs("needle");
    dialogs.answers = { MsgBoxAnswer::No, MsgBoxAnswer::Yes };
    bool visibleAfterNo = false;
    bool hiddenAfterYes = false;
    events.onYield = [&](int yield) {
        if (yield == 2) {
            QTest::mouseClick(window->cmdAbort, Qt::LeftButton);
            visibleAfterNo = window->cmdAbort->isVisible() && !window->AbortRequested();
        } else if (yield == 4) {
            QTest::mouseClick(window->cmdAbort, Qt::LeftButton);
            hiddenAfterYes = !window->cmdAbort->isVisible() && window->AbortRequested();
        }
    };

    ClickSearch();

    ASSERT_GE(dialogs.messages.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(dialogs.messages[i].text, "Abort processing?");
        EXPECT_EQ(dialogs.messages[i].code, 4 + 32 + 256);
        EXPECT_EQ(dialogs.messages[i].title, "Trawlit");
    }
    EXPECT_TRUE(visibleAfterNo);
    EXPECT_TRUE(hiddenAfterYes);
    const std::string results = TempFolder::ReadWholeFile(output);
    EXPECT_NE(results.find("*** PROCESSING WAS ABORTED VIA USER ACTION ***"), std::string::npos);
    EXPECT_LT(window->lblTotalFileCount->text().toInt(), 20);
    EXPECT_TRUE(IdleLook());
}

TEST_F(frmTrawlitTest, CloseIsRefusedDuringARunAndSavesAfterIt)
{
    WriteFiles(3);
    SetInputs("needle");
    window->chkCaseSensitive->setChecked(true);
    bool closedDuringRun = true;
    events.onYield = [&](int yield) {
        if (yield == 1)
            closedDuringRun = window->close();
    };

    ClickSearch();

    EXPECT_FALSE(closedDuringRun);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(
        dialogs.messages[0].text, "Please abort the current search, or wait for it to complete.");
    EXPECT_EQ(dialogs.messages[0].code, 0);
    EXPECT_EQ(dialogs.messages[0].title, "Trawlit");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Stored("CaseSensitive"), ""); // nothing saved by the refused close

    EXPECT_TRUE(window->close());
    EXPECT_EQ(Stored("TraverseSubfolders"), "True");
    EXPECT_EQ(Stored("CaseSensitive"), "True");
    EXPECT_EQ(Stored("CollapseWhiteSpace"), "False");
    EXPECT_EQ(Stored("SearchStr1"), "needle");
    EXPECT_EQ(Stored("RootFolder1"), tree.Path());
    EXPECT_EQ(Stored("OutputPathname1"), output);
}

TEST_F(frmTrawlitTest, OptionsAndHistoriesSurviveARestart)
{
    WriteFiles(1);
    SetInputs("needle");
    window->comboFileTemplate->setEditText("*.txt");
    window->chkTraverseSubfolders->setChecked(false);
    window->chkCollapseWhiteSpace->setChecked(true);
    ClickSearch();
    Restart();

    EXPECT_EQ(window->chkTraverseSubfolders->checkState(), Qt::Unchecked);
    EXPECT_EQ(window->chkCaseSensitive->checkState(), Qt::Unchecked);
    EXPECT_EQ(window->chkCollapseWhiteSpace->checkState(), Qt::Checked);
    EXPECT_EQ(window->comboSearchStr->currentText(), "needle");
    EXPECT_EQ(window->comboRootFolder->currentText(), QString::fromStdString(tree.Path()));
    EXPECT_EQ(window->comboOutputPathname->currentText(), QString::fromStdString(output));
    EXPECT_EQ(window->comboFileTemplate->currentText(), "*.txt");
    EXPECT_TRUE(window->cmdTemplateAll->isEnabled());
}

struct CountsKeysCase {
    const char* storedCountsOnly;
    bool checkedAtClose;
    Qt::CheckState atNextStart;
    const char* savedOutputCounts;
};

TEST_F(frmTrawlitTest, CountsOnlyStartsFromOneKeyAndIsSavedUnderAnother)
{
    const CountsKeysCase cases[] = {
        { "", true, Qt::Unchecked, "True" },
        { "", false, Qt::Unchecked, "False" },
        { "TRUE", false, Qt::Checked, "False" },
        { "true", true, Qt::Checked, "True" },
    };
    for (const auto& [storedCountsOnly, checkedAtClose, atNextStart, savedOutputCounts] : cases) {
        SCOPED_TRACE(storedCountsOnly);
        store = InMemorySettingsStore();
        store.Save(kSettingsApplication, kSettingsSection, "CountsOnly", storedCountsOnly);
        window = NewWindow();
        window->chkOutputCountsOnly->setChecked(checkedAtClose);
        Restart();
        EXPECT_EQ(window->chkOutputCountsOnly->checkState(), atNextStart);
        EXPECT_EQ(Stored("OutputCounts"), savedOutputCounts);
        EXPECT_EQ(Stored("CountsOnly"), storedCountsOnly);
    }
}

TEST_F(frmTrawlitTest, BrowseForTheOutputFileProposesTheTrimmedTextAndTakesTheChoice)
{
    window->comboOutputPathname->setEditText(QString::fromStdString("  " + output + "  "));
    fileDialog.answer.confirmed = true;
    fileDialog.answer.filePathname = outside / "Chosen.out";
    QTest::mouseClick(window->cmdBrowse, Qt::LeftButton);
    ASSERT_EQ(fileDialog.requests.size(), 1u);
    EXPECT_EQ(fileDialog.requests[0].fileName, output);
    EXPECT_EQ(fileDialog.requests[0].initialFolder, outside.Path());
    EXPECT_EQ(
        window->comboOutputPathname->currentText(), QString::fromStdString(outside / "Chosen.out"));

    fileDialog.answer = {};
    QTest::mouseClick(window->cmdBrowse, Qt::LeftButton);
    EXPECT_EQ(
        window->comboOutputPathname->currentText(), QString::fromStdString(outside / "Chosen.out"));
}

TEST_F(frmTrawlitTest, BrowseForTheRootFolderStartsAtTheTrimmedTextAndTakesTheChoice)
{
    window->comboRootFolder->setEditText(QString::fromStdString(" " + tree.Path() + " "));
    chooser.answer = outside.Path();
    QTest::mouseClick(window->cmdFolderBrowse, Qt::LeftButton);
    ASSERT_EQ(chooser.calls.size(), 1u);
    EXPECT_EQ(chooser.calls[0].first, tree.Path());
    EXPECT_EQ(chooser.calls[0].second, "Select Root Folder");
    EXPECT_EQ(window->comboRootFolder->currentText(), QString::fromStdString(outside.Path()));

    chooser.answer.reset();
    QTest::mouseClick(window->cmdFolderBrowse, Qt::LeftButton);
    EXPECT_EQ(window->comboRootFolder->currentText(), QString::fromStdString(outside.Path()));
}

TEST_F(frmTrawlitTest, HideStuffHidesTheCountersARunDoesNotCount)
{
    struct Case {
        std::int64_t found, matches;
        bool foundVisible, matchesVisible;
    };
    const Case cases[] = { { 0, 0, true, true }, { -1, 0, false, true }, { 0, -1, true, false },
        { -1, -1, false, false } };
    for (const Case& c : cases) {
        window->HideStuff("Trawlit", 5, c.found, c.matches);
        EXPECT_TRUE(window->lblTotalFileCount->isVisible());
        EXPECT_EQ(window->lblTotalFileCount->text(), "5");
        EXPECT_EQ(window->lblFileFoundCountHeader->isVisible(), c.foundVisible);
        EXPECT_EQ(window->lblFileFoundCount->isVisible(), c.foundVisible);
        EXPECT_EQ(window->lblMatchCountHeader->isVisible(), c.matchesVisible);
        EXPECT_EQ(window->lblMatchCount->isVisible(), c.matchesVisible);
        EXPECT_TRUE(window->cmdAbort->isVisible());
        EXPECT_FALSE(window->cmdFolderListing->isVisible());
    }
    window->ShowStuff();
    EXPECT_TRUE(window->cmdBrelka->isVisible());
    EXPECT_TRUE(window->cmdAbort->isVisible()); // the run hides it itself
}

// The first value shows at once, the rest at most once a frame: the last one by the frame
// timer, or when the run ends.
TEST_F(frmTrawlitTest, CountersAreSetAtMostOnceAFrameAndTheLastOneIsShown)
{
    for (bool runEnds : { false, true }) {
        window = NewWindow();
        window->HideStuff("Trawlit", 0, 0, 0);
        for (int value = 1; value <= 1000; ++value)
            window->ShowCounter(Counter::MatchCount, value);
        EXPECT_EQ(window->lblMatchCount->text(), "1");
        if (runEnds) {
            window->HideAbortButton();
        } else { // the frame timer; a loaded machine may be late with it
            EXPECT_TRUE(
                QTest::qWaitFor([this] { return window->lblMatchCount->text() == "1000"; }, 5000));
        }
        EXPECT_EQ(window->lblMatchCount->text(), "1000");
    }
    EXPECT_EQ(window->lblFileFoundCountHeader->text(), "Matching files:");
}

TEST_F(frmTrawlitTest, AnimationPlaysOnlyWhenTheClipIsThere)
{
    window->AnimationStart(); // no clip: nothing happens
    EXPECT_FALSE(window->Animation1->isVisible());

    const QString clip = QCoreApplication::applicationDirPath() + "/Search.avi";
    if (!QFileInfo(clip).isFile())
        GTEST_SKIP() << "Search.avi is not built";
    window = NewWindow(clip);
    window->AnimationStart();
    EXPECT_TRUE(window->Animation1->isVisible());
    EXPECT_TRUE(window->Animation1->IsPlaying());
    window->AnimationStop();
    EXPECT_FALSE(window->Animation1->isVisible());
    EXPECT_FALSE(window->Animation1->IsPlaying());
}

TEST_F(frmTrawlitTest, FindWhatSelectsItsWholeTextOnFocus)
{
    window->comboSearchStr->setEditText("needle");
    window->comboRootFolder->setFocus();
    QApplication::setActiveWindow(window.get());
    window->comboSearchStr->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(window->comboSearchStr->lineEdit(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->comboSearchStr->lineEdit()->selectedText(), "needle");
}

// Renders the idle and the busy window for a person to look at; the run must not make the
// window grow by itself.
// "trawlit FOLDER": the folder stands in Root Folder as if typed, and only a run records it.
TEST_F(frmTrawlitTest, AFolderFromTheCommandLineIsRecordedOnlyByARun)
{
    WriteFiles(1);
    const WindowArguments arguments
        = ParseWindowArguments({ "trawlit", QString::fromStdString(tree.Path()) + "/sub/.." }, "/");
    window->StartInFolder(arguments.rootFolder);
    EXPECT_EQ(window->comboRootFolder->currentText().toStdString(), tree.Path());
    for (int i = 0; i < window->comboRootFolder->count(); ++i)
        EXPECT_NE(window->comboRootFolder->itemText(i).toStdString(), tree.Path());
    window->comboSearchStr->setEditText("needle");
    window->comboOutputPathname->setEditText(QString::fromStdString(output));
    ClickSearch();
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(window->comboRootFolder->itemText(0).toStdString(), tree.Path());
}

TEST_F(frmTrawlitTest, RendersIdleAndBusyAtOneSize)
{
    WriteFiles(3);
    window = NewWindow(QCoreApplication::applicationDirPath() + "/Search.avi");
    SetInputs("needle");
    QCoreApplication::processEvents();
    const QSize idleSize = window->size();
    EXPECT_TRUE(window->grab().save("/tmp/trawlit-idle.png"));
    QSize busySize;
    events.onYield = [&](int yield) {
        if (yield == 2) {
            busySize = window->size();
            EXPECT_TRUE(window->grab().save("/tmp/trawlit-busy.png"));
        }
    };
    ClickSearch();
    EXPECT_GE(idleSize.width(), window->minimumSizeHint().width());
    EXPECT_EQ(busySize, idleSize);
    EXPECT_EQ(window->size(), idleSize);
}

} // namespace
} // namespace trawlit
