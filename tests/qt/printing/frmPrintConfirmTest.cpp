#include "qt/printing/frmPrintConfirm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

#include "core/printing/PrintSettings.h"
#include "qt/printing/QtPrinterSurface.h"
#include "qt/widgets/QtButtonKbt.h"

namespace trawlit {
namespace {

std::string Text(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

class frmPrintConfirmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.ConfirmTitle = "Confirm print";
        settings.ConfirmPathname = "/home/user/Trawlit.out";
        settings.PrintFontName = "Courier New";
        settings.PrintFontSize = 10.0F;
        settings.ConfirmResult = 0;
    }
    // Shows the window as the user sees it, active and with the focus.
    frmPrintConfirm& Show()
    {
        window = std::make_unique<frmPrintConfirm>(settings);
        window->show();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return *window;
    }

    PrintSettings settings;
    std::unique_ptr<frmPrintConfirm> window;
};

TEST_F(frmPrintConfirmTest, ShowsTheSettingsItWasGiven)
{
    settings.PrintFontSize = 8.5F;
    frmPrintConfirm& form = Show();
    EXPECT_EQ(Text(form.windowTitle()), " Confirm print ");
    EXPECT_EQ(Text(form.lblPathname->text()), "/home/user/Trawlit.out");
    EXPECT_EQ(Text(form.lblFontName->text()), " Courier New");
    EXPECT_EQ(Text(form.lblFontSize->text()), " 8.5");
    EXPECT_EQ(Text(form.frameOrientation->title()), "Orientation");
    EXPECT_EQ(Text(form.frameFont->title()), "Font");
    EXPECT_EQ(Text(form.optPortrait->text()), "Portrait");
    EXPECT_EQ(Text(form.optLandscape->text()), "Landscape");
    EXPECT_EQ(Text(form.lblFontNameHdr->text()), "Name");
    EXPECT_EQ(Text(form.lblFontSizeHdr->text()), "Size");
    EXPECT_EQ(Text(form.cmdFixedPitchFonts->text()), "&Fixed pitch fonts");
    EXPECT_EQ(Text(form.cmdAllFonts->text()), "&All fonts");
    EXPECT_EQ(Text(form.cmdOK->text()), "&OK");
    EXPECT_EQ(Text(form.cmdCancel->text()), "&Cancel");
    EXPECT_TRUE(form.optPortrait->isChecked());
    EXPECT_TRUE(form.imagePortrait->isVisible());
    EXPECT_FALSE(form.imageLandscape->isVisible());
    EXPECT_EQ(settings.ConfirmResult, ConfirmResultCode::Closed);
}

TEST_F(frmPrintConfirmTest, ThePictureFollowsTheChosenOrientation)
{
    settings.LandscapeFlag = true;
    frmPrintConfirm& form = Show();
    EXPECT_TRUE(form.optLandscape->isChecked());
    EXPECT_TRUE(form.imageLandscape->isVisible());
    EXPECT_FALSE(form.imagePortrait->isVisible());

    QTest::mouseClick(form.optPortrait, Qt::LeftButton);
    EXPECT_TRUE(form.imagePortrait->isVisible());
    EXPECT_FALSE(form.imageLandscape->isVisible());

    form.optPortrait->setFocus();
    QTest::keyClick(form.optPortrait, Qt::Key_Down); // arrows move between the options
    EXPECT_TRUE(form.optLandscape->isChecked());
    EXPECT_TRUE(form.imageLandscape->isVisible());
}

TEST_F(frmPrintConfirmTest, EveryWayButOkClosesUnconfirmedAndKeepsTheOrientation)
{
    struct Case {
        const char* name;
        std::function<void(frmPrintConfirm&)> close;
    };
    const Case cases[] = {
        { "Cancel", [](frmPrintConfirm& f) { QTest::mouseClick(f.cmdCancel, Qt::LeftButton); } },
        { "Alt+C", [](frmPrintConfirm& f) { QTest::keyClick(&f, Qt::Key_C, Qt::AltModifier); } },
        { "Escape on a button",
            [](frmPrintConfirm& f) { QTest::keyClick(f.cmdAllFonts, Qt::Key_Escape); } },
        { "Ctrl+Q on an option",
            [](frmPrintConfirm& f) {
                QTest::keyClick(f.optLandscape, Qt::Key_Q, Qt::ControlModifier);
            } },
        { "close box", [](frmPrintConfirm& f) { f.close(); } },
    };
    for (const Case& c : cases) {
        settings.LandscapeFlag = false;
        frmPrintConfirm& form = Show();
        form.optLandscape->setChecked(true);
        c.close(form);
        // An access key animates its button's click before it happens.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); })) << c.name;
        EXPECT_EQ(form.result(), QDialog::Rejected) << c.name;
        EXPECT_EQ(settings.ConfirmResult, ConfirmResultCode::Closed) << c.name;
        EXPECT_FALSE(settings.LandscapeFlag) << c.name;
    }
}

TEST_F(frmPrintConfirmTest, QWithOtherModifiersDoesNotClose)
{
    frmPrintConfirm& form = Show();
    QTest::keyClick(form.cmdOK, Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(form.cmdOK, Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier);
    QTest::qWait(50);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(frmPrintConfirmTest, OkConfirmsAndTakesTheOrientation)
{
    struct Case {
        const char* name;
        std::function<void(frmPrintConfirm&)> confirm;
    };
    const Case cases[] = {
        { "click", [](frmPrintConfirm& f) { QTest::mouseClick(f.cmdOK, Qt::LeftButton); } },
        { "Alt+O", [](frmPrintConfirm& f) { QTest::keyClick(&f, Qt::Key_O, Qt::AltModifier); } },
        { "Enter on an option",
            [](frmPrintConfirm& f) { QTest::keyClick(f.optLandscape, Qt::Key_Return); } },
    };
    for (const Case& c : cases) {
        settings.LandscapeFlag = false;
        frmPrintConfirm& form = Show();
        form.optLandscape->setChecked(true);
        form.optLandscape->setFocus();
        c.confirm(form);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); })) << c.name;
        EXPECT_EQ(settings.ConfirmResult, ConfirmResultCode::Ok) << c.name;
        EXPECT_TRUE(settings.LandscapeFlag) << c.name;
    }
}

TEST_F(frmPrintConfirmTest, FontButtonsAskForFontsAndShowTheChoice)
{
    settings.PrintFontName = "DejaVu Serif"; // a face this system has
    frmPrintConfirm& form = Show();
    std::vector<bool> fixedPitchAsked;
    std::optional<QFont> answer;
    form.SetFontChooser([&](const QFont& initial, bool fixedPitch, QWidget*) {
        EXPECT_EQ(initial.family(), QFontInfo(initial).family()); // a face that exists
        fixedPitchAsked.push_back(fixedPitch);
        return answer;
    });

    QFont chosen(QStringLiteral("DejaVu Sans Mono"));
    chosen.setPointSizeF(8.5);
    answer = chosen;
    QTest::keyClick(&form, Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fixedPitchAsked.empty(); }));
    EXPECT_EQ(settings.PrintFontName, "DejaVu Sans Mono");
    EXPECT_EQ(settings.PrintFontSize, 8.5F);
    EXPECT_EQ(Text(form.lblFontName->text()), " DejaVu Sans Mono");
    EXPECT_EQ(Text(form.lblFontSize->text()), " 8.5");

    answer.reset(); // the font dialog cancelled
    QTest::mouseClick(form.cmdAllFonts, Qt::LeftButton);
    EXPECT_EQ(settings.PrintFontName, "DejaVu Sans Mono");
    EXPECT_EQ(Text(form.lblFontSize->text()), " 8.5");
    EXPECT_EQ(fixedPitchAsked, (std::vector<bool> { true, false }));
    EXPECT_TRUE(form.isVisible());
}

// What a font dialog offered when it came up.
struct FontDialogSeen {
    QFontDialog::FontDialogOptions options;
    QString openedOn;
    QStringList families;
    bool stylesShown = false;
    bool effectsShown = false;
};

QWidget* BuddyOf(QFontDialog& dialog, const QString& caption)
{
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->text() == caption)
            return label->isVisible() ? label->buddy() : nullptr;
    return nullptr;
}

// Answers the next font dialog once it is up: picks `family` at 12 points, or with an empty
// family presses OK untouched; nothing at all cancels it.
void AnswerFontDialog(std::optional<QString> family, FontDialogSeen* seen)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            AnswerFontDialog(family, seen);
            return;
        }
        seen->options = dialog->options();
        // For a person to look at.
        const bool fixedPitch = seen->options.testFlag(QFontDialog::MonospacedFonts);
        dialog->grab().save(fixedPitch ? "/tmp/CmDialog1-fixed.png" : "/tmp/CmDialog1-all.png");
        seen->openedOn = dialog->currentFont().family();
        seen->families.clear();
        if (auto* faces
            = qobject_cast<QAbstractItemView*>(BuddyOf(*dialog, QFontDialog::tr("&Font"))))
            for (int row = 0; row < faces->model()->rowCount(); ++row)
                seen->families << faces->model()->index(row, 0).data().toString();
        seen->stylesShown = BuddyOf(*dialog, QFontDialog::tr("Font st&yle")) != nullptr;
        seen->effectsShown = false;
        for (QGroupBox* group : dialog->findChildren<QGroupBox*>())
            seen->effectsShown
                |= group->title() == QFontDialog::tr("Effects") && group->isVisible();
        if (!family) {
            dialog->reject();
            return;
        }
        if (!family->isEmpty()) {
            QFont font(*family);
            font.setPointSize(12);
            dialog->setCurrentFont(font);
        }
        dialog->accept();
    });
}

TEST_F(frmPrintConfirmTest, TheSystemFontDialogOffersFixedPitchFontsForThatButton)
{
    settings.PrintFontName = "DejaVu Serif"; // a face this system has
    frmPrintConfirm& form = Show();
    FontDialogSeen seen;
    AnswerFontDialog(QStringLiteral("DejaVu Sans Mono"), &seen);
    QTest::mouseClick(form.cmdFixedPitchFonts, Qt::LeftButton);
    EXPECT_TRUE(seen.options.testFlag(QFontDialog::DontUseNativeDialog));
    ASSERT_FALSE(seen.families.isEmpty());
    for (const QString& family : seen.families) {
        EXPECT_TRUE(QFontDatabase::isFixedPitch(family)) << Text(family);
        EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Latin));
    }
    EXPECT_FALSE(seen.stylesShown); // a choice keeps only the face and its size
    EXPECT_FALSE(seen.effectsShown);
    EXPECT_EQ(settings.PrintFontName, "DejaVu Sans Mono");
    EXPECT_EQ(settings.PrintFontSize, 12.0F);

    AnswerFontDialog(std::nullopt, &seen);
    QTest::mouseClick(form.cmdAllFonts, Qt::LeftButton);
    EXPECT_TRUE(seen.families.contains(QStringLiteral("DejaVu Sans")));
    EXPECT_EQ(settings.PrintFontName, "DejaVu Sans Mono");
    EXPECT_TRUE(form.isVisible());
}

// "Courier New" is missing here: the dialog opens on the face that prints in its place where
// its list has that face, and OK without a change keeps the stored name and the size between
// whole points.
TEST_F(frmPrintConfirmTest, AnUntouchedFontDialogKeepsTheStoredFont)
{
    settings.PrintFontSize = 8.5F;
    frmPrintConfirm& form = Show();
    const QString printed = QFontInfo(PrinterFont("Courier New", 8.5F)).family();
    for (ButtonKbt* button : { form.cmdFixedPitchFonts, form.cmdAllFonts }) {
        FontDialogSeen seen;
        AnswerFontDialog(QString(), &seen);
        QTest::mouseClick(button, Qt::LeftButton);
        if (seen.families.contains(printed)) {
            EXPECT_EQ(seen.openedOn, printed);
        }
        EXPECT_EQ(settings.PrintFontName, "Courier New");
        EXPECT_EQ(settings.PrintFontSize, 8.5F);
    }
}

TEST_F(frmPrintConfirmTest, RendersForALookWithNothingCutOff)
{
    struct Case {
        std::string path;
        bool landscape;
        const char* picture;
    };
    const Case cases[] = {
        { "/home/user/projects/trawlit/results/2026/december/Trawlit.out", false,
            "/tmp/frmPrintConfirm.png" },
        { "/home/user/Trawlit.out", true, "/tmp/frmPrintConfirm-short.png" },
        { "/home/user/" + std::string(30, 'a') + "/" + std::string(40, 'b') + "/"
                + std::string(40, 'c') + "/Trawlit.out",
            false, "/tmp/frmPrintConfirm-long.png" },
    };
    for (const Case& c : cases) {
        settings.ConfirmPathname = c.path;
        settings.LandscapeFlag = c.landscape;
        frmPrintConfirm& form = Show();
        EXPECT_TRUE(form.grab().save(QString::fromLatin1(c.picture)));
        EXPECT_TRUE(form.rect().contains(form.frameFont->geometry())) << c.path;
        EXPECT_TRUE(form.rect().contains(form.lblPathname->geometry())) << c.path;
        const int pathHeight = form.lblPathname->heightForWidth(form.lblPathname->width());
        EXPECT_GE(form.lblPathname->height(), pathHeight) << c.path;
        EXPECT_GE(form.lblFontName->width(), form.lblFontName->sizeHint().width());
    }
}

} // namespace
} // namespace trawlit
