#pragma once

#include <QFont>
#include <functional>
#include <optional>

#include "qt/widgets/FirstActivateDialog.h"

class QGroupBox;
class QLabel;
class QRadioButton;

namespace trawlit {

class ButtonKbt;
struct PrintSettings;

// Confirms a print: shows the file's path and lets the user pick the page orientation and the
// printer font. OK takes the orientation into `settings` and sets ConfirmResult to 1; every
// other way of closing (Cancel, Escape, Ctrl+Q, the close box) leaves it at 2. A font chosen
// through the font buttons goes into `settings` at once.
class frmPrintConfirm : public FirstActivateDialog {
    Q_OBJECT
public:
    // Offers fonts starting from `initial`, only fixed-pitch ones when asked; returns the
    // chosen font, or nothing when the user cancels.
    using FontChooser
        = std::function<std::optional<QFont>(const QFont& initial, bool fixedPitch, QWidget* over)>;

    explicit frmPrintConfirm(PrintSettings& settings, QWidget* parent = nullptr);

    void ChangeFont(bool FixedPitchFlag);
    void UpdateImages();
    // The system's font dialog unless replaced.
    void SetFontChooser(FontChooser chooser) { fontChooser_ = std::move(chooser); }
    static std::optional<QFont> ChooseInFontDialog(
        const QFont& initial, bool fixedPitch, QWidget* over);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void LayOutControls();
    void ConnectSignals();
    void FirstActivate() override;
    void FitPathLabel();
    void ShowFont();
    void cmdOK_Click();

    PrintSettings& settings_;
    int narrowestPathWidth_ = 0;
    FontChooser fontChooser_ = ChooseInFontDialog;

public:
    // The controls, under the names the rest of the program knows them by.
    QLabel* lblPathname = nullptr;
    QGroupBox* frameOrientation = nullptr;
    QRadioButton* optPortrait = nullptr;
    QRadioButton* optLandscape = nullptr;
    QLabel* imagePortrait = nullptr;
    QLabel* imageLandscape = nullptr;
    QGroupBox* frameFont = nullptr;
    QLabel* lblFontNameHdr = nullptr;
    QLabel* lblFontName = nullptr;
    QLabel* lblFontSizeHdr = nullptr;
    QLabel* lblFontSize = nullptr;
    ButtonKbt* cmdFixedPitchFonts = nullptr;
    ButtonKbt* cmdAllFonts = nullptr;
    ButtonKbt* cmdOK = nullptr;
    ButtonKbt* cmdCancel = nullptr;
};

} // namespace trawlit
