#include "qt/mainwindow/frmTrawlit.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "Version.h"
#include "core/dialogs/DirBrowse.h"
#include "core/dialogs/GETPATH.h"
#include "core/outputfile/Viewers.h"
#include "core/run/RunFrame.h"
#include "core/run/RunStart.h"
#include "core/searchrun/SearchRun.h"
#include "core/settings/Registry.h"
#include "core/text/TextHelpers.h"
#include "core/text/TextTrim.h"
#include "core/tools/CHeaderExtraction.h"
#include "core/tools/ChangeMarkCount.h"
#include "core/tools/FolderListingTool.h"
#include "core/tools/WebCleanup.h"
#include "platform/PosixCleanedCopies.h"
#include "ports/Dialogs.h"
#include "qt/mainwindow/HomeFolder.h"
#include "qt/mainwindow/QtAnimationPlayer.h"
#include "qt/widgets/IconWithGap.h"
#include "qt/widgets/QtButtonKbt.h"
#include "qt/widgets/QtComboBoxView.h"
#include "qt/widgets/QtNames.h"
#include "qt/widgets/TabChain.h"

namespace trawlit {

namespace {

constexpr int kCounterPaintIntervalMs = 16; // about one screen frame
constexpr const char* kCloseWhileBusy
    = "Please abort the current search, or wait for it to complete.";
constexpr const char* kAbortQuestion = "Abort processing?";
constexpr const char* kAllFiles = "*.*";
constexpr int kCaptionGap = 8;

// Each option is read from one key and saved under another where the two differ: the counts
// option starts from "CountsOnly" but records its last state in "OutputCounts".
struct OptionKeys {
    OptionBox box;
    const char* loadKey;
    const char* saveKey;
    bool defaultValue;
};
constexpr std::array<OptionKeys, 4> kOptionKeys { {
    { OptionBox::TraverseSubfolders, "TraverseSubfolders", "TraverseSubfolders", true },
    { OptionBox::CaseSensitive, "CaseSensitive", "CaseSensitive", false },
    { OptionBox::CollapseWhiteSpace, "CollapseWhiteSpace", "CollapseWhiteSpace", false },
    { OptionBox::CountsOnly, "CountsOnly", "OutputCounts", false },
} };

struct HistorySetup {
    InputBox box;
    std::int16_t maxHistory;
    const char* key;
};
// In load and save order.
constexpr std::array<HistorySetup, 4> kHistorySetups { {
    { InputBox::SearchStr, 20, "SearchStr" },
    { InputBox::RootFolder, 20, "RootFolder" },
    { InputBox::OutputPathname, 6, "OutputPathname" },
    { InputBox::FileTemplate, 6, "FileTemplate" },
} };

std::size_t Index(InputBox box)
{
    return static_cast<std::size_t>(box);
}

// The user's home folder stands in for the drive root of the original defaults.
std::string HistoryDefault(InputBox box)
{
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    switch (box) {
    case InputBox::RootFolder:
        return ToCore(home);
    case InputBox::OutputPathname:
        return ToCore(home + QDir::separator() + "Trawlit.out");
    case InputBox::FileTemplate:
        return kAllFiles;
    case InputBox::SearchStr:
        break;
    }
    return {};
}

QComboBox* NewInputCombo(const char* name, QWidget* parent)
{
    auto* combo = Named(new QComboBox(parent), name);
    combo->setEditable(true);
    // The history list owns the entries; Enter must not add any, nor may typing be completed.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->setMaxVisibleItems(20);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(30);
    combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return combo;
}

QLabel* NewCaption(const char* name, const char* caption, QWidget* buddy, QWidget* parent)
{
    auto* label = Named(new QLabel(QString::fromLatin1(caption), parent), name);
    label->setBuddy(buddy);
    // Room between the widest caption and its box, whatever the style's spacing.
    label->setContentsMargins(0, 0, kCaptionGap, 0);
    return label;
}

QIcon StandardIcon(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

// Keeps its place in the layout while hidden, so the window does not jump between runs.
void KeepPlaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

RunResult RunWebCleanupForUser(const RunInputs& inputs, RunPorts ports)
{
    PosixCleanedCopies copies(PosixCleanedCopies::RecordPathForUser());
    return RunWebCleanup(inputs, ports, copies);
}

} // namespace

frmTrawlit::frmTrawlit(SettingsStore& settings, Dialogs& dialogs, Platform platform,
    FileRoutines& files, FileDialogPort& fileDialog, FolderChooserPort& folderChooser,
    const QString& searchAviPath, QWidget* parent)
    : QWidget(parent)
    , settings_(settings)
    , dialogs_(dialogs)
    , platform_(platform)
    , files_(files)
    , fileDialog_(fileDialog)
    , folderChooser_(folderChooser)
    , searchAviPath_(searchAviPath)
{
    setObjectName(QStringLiteral("frmTrawlit"));
    CreateControls();
    LayOutWindow();
    SetTabOrder();
    ConnectSignals();
    Load();
    // A size of its own keeps the window from growing by itself when the busy controls show.
    layout()->activate();
    resize(sizeHint().expandedTo(minimumSize()));
}

frmTrawlit::~frmTrawlit() = default;

void frmTrawlit::StartInFolder(const QString& folder)
{
    comboRootFolder->setEditText(QDir::toNativeSeparators(folder));
}

// ---- Controls and layout ----

void frmTrawlit::CreateControls()
{
    CreatePanelControls();
    CreateRunControls();
    for (InputBox box : { InputBox::SearchStr, InputBox::RootFolder, InputBox::FileTemplate,
             InputBox::OutputPathname })
        comboViews_[Index(box)] = std::make_unique<QtComboBoxView>(*ComboOf(box));
}

void frmTrawlit::CreatePanelControls()
{
    panelInput = Named(new QFrame(this), "panelInput");
    panelInput->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    QWidget* panel = panelInput;

    comboSearchStr = NewInputCombo("comboSearchStr", panel);
    lblSearchStr = NewCaption("lblSearchStr", "Find &What", comboSearchStr, panel);
    comboRootFolder = NewInputCombo("comboRootFolder", panel);
    lblRootFolder = NewCaption("lblRootFolder", "&Root Folder", comboRootFolder, panel);
    cmdFolderBrowse = Named(new ButtonKbt("&Browse...", panel), "cmdFolderBrowse");
    comboFileTemplate = NewInputCombo("comboFileTemplate", panel);
    lblFileTemplate = NewCaption("lblFileTemplate", "File &Template", comboFileTemplate, panel);
    cmdTemplateAll = Named(new ButtonKbt("&All files (*.*)", panel), "cmdTemplateAll");
    comboOutputPathname = NewInputCombo("comboOutputPathname", panel);
    lblOutputPathname = NewCaption("lblOutputPathname", "&Output File", comboOutputPathname, panel);
    cmdBrowse = Named(new ButtonKbt("&Browse...", panel), "cmdBrowse");

    chkTraverseSubfolders
        = Named(new QCheckBox("Tra&verse sub-folders", panel), "chkTraverseSubfolders");
    chkCaseSensitive = Named(new QCheckBox("&Case-sensitive search", panel), "chkCaseSensitive");
    chkCollapseWhiteSpace
        = Named(new QCheckBox("Colla&pse white space", panel), "chkCollapseWhiteSpace");
    chkOutputCountsOnly = Named(new QCheckBox("Outp&ut counts only", panel), "chkOutputCountsOnly");

    comboSearchStr->installEventFilter(this);
}

void frmTrawlit::CreateRunControls()
{
    cmdSearch2 = Named(new ButtonKbt("Start Search", this), "cmdSearch2");
    SetIconWithGap(*cmdSearch2, StandardIcon(QStyle::SP_FileDialogContentsView));
    cmdSearch2->setDefault(true); // Enter anywhere in the window starts a search
    cmdFolderListing = Named(new ButtonKbt("Folder Listing", this), "cmdFolderListing");
    SetIconWithGap(*cmdFolderListing, StandardIcon(QStyle::SP_DirOpenIcon));
    cmdExtractCHeaders = Named(new ButtonKbt("Extract C headers", this), "cmdExtractCHeaders");
    cmdBrelka = Named(new ButtonKbt("Brelka's /C /D /I", this), "cmdBrelka");
    cmdRuvReplace = Named(new ButtonKbt("Web Chr Cleanup", this), "cmdRuvReplace");
    cmdAbort = Named(new ButtonKbt("Abort", this), "cmdAbort");
    SetIconWithGap(*cmdAbort, StandardIcon(QStyle::SP_BrowserStop));

    Animation1 = Named(new QtAnimationPlayer(this), "Animation1");
    Animation1->setMinimumSize(64, 48);
    Animation1->setAlignment(Qt::AlignCenter);

    const auto header = [this](Counter counter, const char* name) {
        return Named(new QLabel(CounterCaption(counter), this), name);
    };
    lblTotalFileCountHeader = header(Counter::TotalFileCount, "lblTotalFileCountHeader");
    lblTotalFileCount = Named(new QLabel("0", this), "lblTotalFileCount");
    lblFileFoundCountHeader = header(Counter::FileFoundCount, "lblFileFoundCountHeader");
    lblFileFoundCount = Named(new QLabel("0", this), "lblFileFoundCount");
    lblMatchCountHeader = header(Counter::MatchCount, "lblMatchCountHeader");
    lblMatchCount = Named(new QLabel("0", this), "lblMatchCount");
}

QLayout* frmTrawlit::PanelLayout()
{
    auto* grid = new QGridLayout(panelInput);
    grid->addWidget(lblSearchStr, 0, 0);
    grid->addWidget(comboSearchStr, 0, 1, 1, 2);
    grid->addWidget(lblRootFolder, 1, 0);
    grid->addWidget(comboRootFolder, 1, 1);
    grid->addWidget(cmdFolderBrowse, 1, 2);
    grid->addWidget(lblFileTemplate, 2, 0);
    grid->addWidget(comboFileTemplate, 2, 1);
    grid->addWidget(cmdTemplateAll, 2, 2);
    grid->addWidget(lblOutputPathname, 3, 0);
    grid->addWidget(comboOutputPathname, 3, 1);
    grid->addWidget(cmdBrowse, 3, 2);

    auto* options = new QGridLayout;
    options->addWidget(chkTraverseSubfolders, 0, 0);
    options->addWidget(chkCaseSensitive, 0, 1);
    options->addWidget(chkCollapseWhiteSpace, 1, 0);
    options->addWidget(chkOutputCountsOnly, 1, 1);
    options->setColumnStretch(2, 1);
    options->setHorizontalSpacing(24);
    grid->addLayout(options, 4, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(8);
    return grid;
}

QLayout* frmTrawlit::RunButtonsLayout()
{
    const std::array<ButtonKbt*, 5> runButtons { cmdSearch2, cmdFolderListing, cmdExtractCHeaders,
        cmdBrelka, cmdRuvReplace };
    int width = 0;
    for (ButtonKbt* button : runButtons)
        width = std::max(width, button->sizeHint().width());
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    // Equal widths with room around the captions read as one row of commands.
    for (ButtonKbt* button : runButtons) {
        button->setMinimumWidth(width + 16);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        buttons->addWidget(button);
    }
    // Abort takes the row's middle while a run hides the others. It shares their cell instead
    // of adding to the row's width, since HideStuff shows it before hiding them.
    auto* row = new QGridLayout;
    row->addLayout(buttons, 0, 0);
    cmdAbort->setMinimumWidth(width + 16);
    row->addWidget(cmdAbort, 0, 0, Qt::AlignHCenter);
    // The row keeps its height while every button in it is hidden (after a confirmed Abort).
    row->setRowMinimumHeight(0, cmdSearch2->sizeHint().height());
    return row;
}

QLayout* frmTrawlit::StatusLayout()
{
    auto* counters = new QGridLayout;
    const std::array<std::pair<QLabel*, QLabel*>, 3> pairs {
        { { lblTotalFileCountHeader, lblTotalFileCount },
            { lblFileFoundCountHeader, lblFileFoundCount }, { lblMatchCountHeader, lblMatchCount } }
    };
    int row = 0;
    for (auto [header, value] : pairs) {
        header->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance("0000000000"));
        KeepPlaceWhenHidden(header);
        KeepPlaceWhenHidden(value);
        counters->addWidget(header, row, 0);
        counters->addWidget(value, row, 1);
        ++row;
    }
    counters->setVerticalSpacing(2);

    auto* status = new QHBoxLayout;
    KeepPlaceWhenHidden(Animation1);
    status->addWidget(Animation1, 0, Qt::AlignVCenter);
    status->addSpacing(12);
    status->addLayout(counters);
    status->addStretch(1);
    return status;
}

void frmTrawlit::LayOutWindow()
{
    PanelLayout();
    auto* window = new QVBoxLayout(this);
    window->addWidget(panelInput);
    window->addLayout(RunButtonsLayout());
    window->addLayout(StatusLayout());
    window->addStretch(1);
}

void frmTrawlit::SetTabOrder()
{
    SetTabChain({ comboSearchStr, comboRootFolder, cmdFolderBrowse, comboFileTemplate,
        cmdTemplateAll, comboOutputPathname, cmdBrowse, chkTraverseSubfolders, chkCaseSensitive,
        chkCollapseWhiteSpace, chkOutputCountsOnly, cmdSearch2, cmdFolderListing,
        cmdExtractCHeaders, cmdBrelka, cmdRuvReplace, cmdAbort });
}

void frmTrawlit::ConnectSignals()
{
    connect(cmdSearch2, &QPushButton::clicked, this, &frmTrawlit::cmdSearch2_Click);
    connect(cmdFolderListing, &QPushButton::clicked, this, &frmTrawlit::cmdFolderListing_Click);
    connect(cmdExtractCHeaders, &QPushButton::clicked, this, &frmTrawlit::cmdExtractCHeaders_Click);
    connect(cmdBrelka, &QPushButton::clicked, this, &frmTrawlit::cmdBrelka_Click);
    connect(cmdRuvReplace, &QPushButton::clicked, this, &frmTrawlit::cmdRuvReplace_Click);
    connect(cmdAbort, &QPushButton::clicked, this, &frmTrawlit::cmdAbort_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmTrawlit::cmdBrowse_Click);
    connect(cmdFolderBrowse, &QPushButton::clicked, this, &frmTrawlit::cmdFolderBrowse_Click);
    connect(cmdTemplateAll, &QPushButton::clicked, this, &frmTrawlit::cmdTemplateAll_Click);
    connect(comboFileTemplate, &QComboBox::editTextChanged, this,
        &frmTrawlit::comboFileTemplate_Change);
    connect(comboFileTemplate, &QComboBox::activated, this, &frmTrawlit::comboFileTemplate_Change);
    counterPaintTimer_.setSingleShot(true);
    counterPaintTimer_.setInterval(kCounterPaintIntervalMs);
    connect(&counterPaintTimer_, &QTimer::timeout, this, &frmTrawlit::PaintCounters);
}

// ---- Load and unload ----

void frmTrawlit::Load()
{
    cmdAbort->hide();
    HideShowCounts(false);
    Animation1->hide();
    setWindowTitle(QStringLiteral("Trawlit v%1.%2").arg(kVersionMajor).arg(kVersionMinor));
    LoadOptions();
    LoadHistories();
    comboFileTemplate_Change();
    SetDefaultViewers(); // viewers chosen in an earlier session are not kept
}

void frmTrawlit::LoadOptions()
{
    for (const OptionKeys& option : kOptionKeys) {
        const bool value = RegistryGetBool(settings_, option.loadKey, option.defaultValue);
        CheckOf(option.box)->setCheckState(T_OR_F(value) != 0 ? Qt::Checked : Qt::Unchecked);
    }
}

void frmTrawlit::LoadHistories()
{
    for (const HistorySetup& setup : kHistorySetups) {
        clsHistory& history = histories_[Index(setup.box)];
        history.SetMaxHistory(setup.maxHistory);
        history.SetRegistryKey(setup.key);
        history.RegistryRead(settings_, HistoryDefault(setup.box));
        history.ComboBoxRefresh(Combo(setup.box));
    }
}

void frmTrawlit::Unload()
{
    for (const OptionKeys& option : kOptionKeys)
        RegistrySaveBool(settings_, option.saveKey, Option(option.box) != CheckState::Unchecked);
    for (const HistorySetup& setup : kHistorySetups)
        histories_[Index(setup.box)].RegistryWrite(settings_);
}

void frmTrawlit::closeEvent(QCloseEvent* event)
{
    if (runBusy_) {
        dialogs_.MsgBox(kCloseWhileBusy, MsgBoxCode::OkOnly, kProgramTitle);
        event->ignore();
        return;
    }
    Unload();
    event->accept();
}

// Enter presses the focused button, else the default one, as in a dialog. Runs hide the run
// buttons and disable the panel, so Enter starts nothing while one goes on.
void frmTrawlit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    QPushButton* pressed = focused != nullptr ? focused : cmdSearch2;
    if (pressed->isVisible() && pressed->isEnabled())
        pressed->click();
    event->accept();
}

bool frmTrawlit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && watched == comboSearchStr) {
        // After the event: a mouse click that gave the focus would clear the selection again.
        QTimer::singleShot(0, comboSearchStr->lineEdit(), &QLineEdit::selectAll);
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Click handlers ----

void frmTrawlit::cmdSearch2_Click()
{
    RunFromClick(ClickInputs::Search, [this](const RunInputs& inputs, RunPorts ports) {
        // The window's thread reads what is in memory while it would wait, in place of a worker
        // held back: no more threads than CPUs to switch between.
        return RunStringSearch(inputs, ports, nullptr, { searchThreads_, RunReads::FromMemory });
    });
}

void frmTrawlit::cmdFolderListing_Click()
{
    RunFromClick(ClickInputs::Folders, RunFolderListing);
}

void frmTrawlit::cmdExtractCHeaders_Click()
{
    RunFromClick(ClickInputs::Folders, RunCHeaderExtraction);
}

void frmTrawlit::cmdBrelka_Click()
{
    RunFromClick(ClickInputs::Folders, RunChangeMarkCount);
}

void frmTrawlit::cmdRuvReplace_Click()
{
    RunFromClick(ClickInputs::Folders, RunWebCleanupForUser);
}

// A blank text to find is refused before anything is recorded; the histories are recorded
// before the run probes the root. The header names the boxes as they show the inputs once
// recorded.
void frmTrawlit::RunFromClick(ClickInputs inputs, const RunFunction& run)
{
    MakeResultsPathAbsolute();
    try {
        const SearchOptions options = ReadSearchOptions();
        if (inputs == ClickInputs::Search && SearchTextMissing(options, dialogs_)) {
            FocusInput(InputBox::SearchStr);
            return;
        }
        RecordInHistories(options, inputs);
        run(RunInputs { options, ReadSearchOptions() },
            RunPorts { *this, platform_, dialogs_, files_ });
    } catch (const std::bad_alloc&) {
        EndFailedRun(kOutOfMemory);
    } catch (const std::exception& failure) {
        EndFailedRun(failure.what());
    }
}

// Nothing may escape into the event loop; the window must not stay busy either.
void frmTrawlit::EndFailedRun(const std::string& message)
{
    AnimationStop();
    HideAbortButton();
    HideShowCounts(false);
    ShowStuff();
    EnablePanelInput(true);
    dialogs_.MsgBox(message, MsgBoxCode::Critical, kProgramTitle);
}

// A relative results path means the current folder: the header, the dialog, the history and
// the viewer then all name the file where it really is ("-n" is no viewer option).
void frmTrawlit::MakeResultsPathAbsolute()
{
    const std::string output = TrimBlanks(InputText(InputBox::OutputPathname));
    if (!output.empty() && output.front() != '/')
        comboOutputPathname->setEditText(QDir::current().absoluteFilePath(ToQt(output)));
}

SearchOptions frmTrawlit::ReadSearchOptions()
{
    const auto checked = [this](OptionBox box) { return Option(box) != CheckState::Unchecked; };
    SearchOptions typed;
    typed.SearchStr = InputText(InputBox::SearchStr);
    typed.RootFolder = InputText(InputBox::RootFolder);
    typed.FileTemplate = InputText(InputBox::FileTemplate);
    typed.OutputPathname = InputText(InputBox::OutputPathname);
    typed.TraverseSubfolders = checked(OptionBox::TraverseSubfolders);
    typed.CaseSensitive = checked(OptionBox::CaseSensitive);
    typed.CollapseWhiteSpace = checked(OptionBox::CollapseWhiteSpace);
    typed.CountsOnly = checked(OptionBox::CountsOnly);
    return TidiedInputs(std::move(typed));
}

void frmTrawlit::RecordInHistories(const SearchOptions& options, ClickInputs inputs)
{
    const auto record = [this](InputBox box, const std::string& text) {
        histories_[Index(box)].add(text, "");
        histories_[Index(box)].ComboBoxRefresh(Combo(box));
    };
    if (inputs == ClickInputs::Search)
        record(InputBox::SearchStr, options.SearchStr);
    record(InputBox::RootFolder, options.RootFolder);
    record(InputBox::OutputPathname, options.OutputPathname);
    record(InputBox::FileTemplate, options.FileTemplate);
}

void frmTrawlit::cmdAbort_Click()
{
    const int answer = dialogs_.MsgBox(kAbortQuestion,
        MsgBoxCode::YesNo + MsgBoxCode::Question + MsgBoxCode::DefaultButton2, kProgramTitle);
    if (answer == MsgBoxAnswer::Yes) {
        abortRequested_ = true;
        cmdAbort->hide();
    }
}

void frmTrawlit::cmdBrowse_Click()
{
    const auto chosen
        = BrowseComboPath(PathDialogPorts { fileDialog_, platform_.fileSystem, dialogs_ },
            "Output file", TrimBlanks(InputText(InputBox::OutputPathname)));
    if (chosen)
        comboOutputPathname->setEditText(ToQt(*chosen));
}

void frmTrawlit::cmdFolderBrowse_Click()
{
    bool chosen = false;
    const std::string folder = DirBrowse(
        folderChooser_, TrimBlanks(InputText(InputBox::RootFolder)), "Select Root Folder", chosen);
    if (chosen)
        comboRootFolder->setEditText(ToQt(folder));
}

void frmTrawlit::cmdTemplateAll_Click()
{
    comboFileTemplate->setEditText(kAllFiles);
}

void frmTrawlit::comboFileTemplate_Change()
{
    cmdTemplateAll->setEnabled(comboFileTemplate->currentText() != QLatin1String(kAllFiles));
}

// ---- MainWindowPort ----

// A leading "~" in a path means the home folder, as everywhere on the desktop; the runs and
// the output browse see the path it stands for.
std::string frmTrawlit::InputText(InputBox box)
{
    const QString text = ComboOf(box)->currentText();
    if (box == InputBox::RootFolder || box == InputBox::OutputPathname)
        return ToCore(ExpandHomeFolder(text, QDir::homePath()));
    return ToCore(text);
}

CheckState frmTrawlit::Option(OptionBox box)
{
    switch (CheckOf(box)->checkState()) {
    case Qt::Unchecked:
        return CheckState::Unchecked;
    case Qt::PartiallyChecked:
        return CheckState::Grayed;
    case Qt::Checked:
        break;
    }
    return CheckState::Checked;
}

void frmTrawlit::FocusInput(InputBox box)
{
    ComboOf(box)->setFocus(Qt::OtherFocusReason);
}

// A counter's text is set and painted at most once a frame, so that a fast run does not spend
// its time on digits; a pending value is always shown by the timer, or when the run ends.
void frmTrawlit::ShowCounter(Counter counter, std::int64_t value)
{
    pendingCounts_[static_cast<std::size_t>(counter)] = value;
    if (!counterPaintClock_.isValid() || counterPaintClock_.elapsed() >= kCounterPaintIntervalMs)
        PaintCounters();
    else if (!counterPaintTimer_.isActive())
        counterPaintTimer_.start();
}

void frmTrawlit::PaintCounters()
{
    counterPaintTimer_.stop();
    for (Counter counter :
        { Counter::TotalFileCount, Counter::FileFoundCount, Counter::MatchCount }) {
        std::optional<std::int64_t>& pending = pendingCounts_[static_cast<std::size_t>(counter)];
        if (!pending)
            continue;
        CounterLabel(counter)->setText(QString::number(*pending));
        CounterLabel(counter)->repaint();
        pending.reset();
    }
    counterPaintClock_.start();
}

void frmTrawlit::HideStuff(const std::string& /*expandingCaption*/, std::int64_t totalFileCount,
    std::int64_t fileFoundCount, std::int64_t matchCount)
{
    cmdAbort->show();
    pendingCounts_ = {};
    for (ButtonKbt* button :
        { cmdBrelka, cmdFolderListing, cmdSearch2, cmdExtractCHeaders, cmdRuvReplace })
        button->hide();
    lblTotalFileCount->setText(QString::number(totalFileCount));
    lblFileFoundCount->setText(QString::number(fileFoundCount));
    lblMatchCount->setText(QString::number(matchCount));
    HideShowCounts(true);
    if (fileFoundCount == -1) {
        lblFileFoundCountHeader->hide();
        lblFileFoundCount->hide();
    }
    if (matchCount == -1) {
        lblMatchCountHeader->hide();
        lblMatchCount->hide();
    }
}

void frmTrawlit::ShowStuff()
{
    for (ButtonKbt* button :
        { cmdSearch2, cmdFolderListing, cmdBrelka, cmdExtractCHeaders, cmdRuvReplace })
        button->show();
}

void frmTrawlit::HideShowCounts(bool visible)
{
    for (QLabel* label : { lblTotalFileCountHeader, lblTotalFileCount, lblFileFoundCountHeader,
             lblFileFoundCount, lblMatchCountHeader, lblMatchCount })
        label->setVisible(visible);
}

// The panel's children follow the panel's own state, so cmdTemplateAll keeps the state the
// template gives it when the panel comes back.
void frmTrawlit::EnablePanelInput(bool enabled)
{
    if (!enabled)
        runBusy_ = true;
    panelInput->setEnabled(enabled);
    panelInput->repaint();
    if (enabled)
        runBusy_ = false;
}

void frmTrawlit::AnimationStart()
{
    if (!QFileInfo(searchAviPath_).isFile() || !Animation1->Open(searchAviPath_))
        return;
    Animation1->show();
    Animation1->Play();
}

void frmTrawlit::AnimationStop()
{
    Animation1->hide();
    Animation1->Stop();
    Animation1->Close();
}

void frmTrawlit::HideAbortButton()
{
    PaintCounters(); // the run's last counts
    cmdAbort->hide();
}

clsHistory& frmTrawlit::History(InputBox box)
{
    return histories_[Index(box)];
}

ComboBoxView& frmTrawlit::Combo(InputBox box)
{
    return *comboViews_[Index(box)];
}

// ---- Lookups ----

QComboBox* frmTrawlit::ComboOf(InputBox box) const
{
    switch (box) {
    case InputBox::SearchStr:
        return comboSearchStr;
    case InputBox::RootFolder:
        return comboRootFolder;
    case InputBox::FileTemplate:
        return comboFileTemplate;
    case InputBox::OutputPathname:
        break;
    }
    return comboOutputPathname;
}

QCheckBox* frmTrawlit::CheckOf(OptionBox box) const
{
    switch (box) {
    case OptionBox::TraverseSubfolders:
        return chkTraverseSubfolders;
    case OptionBox::CaseSensitive:
        return chkCaseSensitive;
    case OptionBox::CollapseWhiteSpace:
        return chkCollapseWhiteSpace;
    case OptionBox::CountsOnly:
        break;
    }
    return chkOutputCountsOnly;
}

QLabel* frmTrawlit::CounterLabel(Counter counter) const
{
    switch (counter) {
    case Counter::TotalFileCount:
        return lblTotalFileCount;
    case Counter::FileFoundCount:
        return lblFileFoundCount;
    case Counter::MatchCount:
        break;
    }
    return lblMatchCount;
}

} // namespace trawlit
