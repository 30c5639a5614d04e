#pragma once

#include <QCursor>
#include <QFont>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/dialogs/MyMsgBox2Rules.h"
#include "qt/widgets/FirstActivateDialog.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QKeyEvent;

namespace trawlit {

class ButtonKbt;

// Shows the program's own message box modally and returns the result code of the button
// pressed, or 2 when the window is closed without one. flags codes buttons, icon and default
// button as the system's message box does; captionIcon picks a window icon (1 critical,
// 2 question, 3 exclamation, 4 information; others keep the window's own); optionMask holds
// MsgBoxOption bits. An empty title becomes the program's title; CR LF separates lines.
std::int16_t MyMsgBox2(const std::string& message, std::int32_t flags, const std::string& title,
    std::int16_t captionIcon, std::int16_t optionMask, QWidget* parent = nullptr);

// The message box window. Set the public members, call Load(), then show it; Ians holds the
// answer once it is hidden.
class frmMyMsgBox2 : public FirstActivateDialog {
    Q_OBJECT
public:
    explicit frmMyMsgBox2(QWidget* parent = nullptr);
    ~frmMyMsgBox2() override;

    // Lays the window out for the members' values.
    void Load();

    std::string CaptionStr;
    std::string MsgStr;
    std::int32_t Flags = 0;
    std::int16_t CaptionIcon = 0;
    std::int16_t OptionMask = 0;
    std::int16_t Ians = kMsgBoxClosedAnswer;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void ApplyFonts();
    void FillTexts();
    void SetUpLink();
    void CreateButtons();
    void ShowIcon();
    void LayOutControls();
    void SetCaptionIcon();
    void SaveMousePointer();
    void RestoreMousePointer();
    void FirstActivate() override;

    bool HandleKey(QEvent* event);
    void cmdArray_Click(int index);
    void TextBold_Click();
    void LightUpLink(bool lit);

    MsgBoxButtonSet buttons_;
    int defaultButton_ = 0;
    bool LinkFlag = false;
    std::vector<QCursor> SavedMousePointer; // the override cursors, bottom first
    bool mousePointerSaved_ = false;
    QFont windowFont_;
    QFont boldFont_;

public:
    // The controls, under the names the rest of the program knows them by.
    QLabel* Picture1 = nullptr;
    QLineEdit* TextBold = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    std::array<ButtonKbt*, 3> cmdArray {};
};

} // namespace trawlit
