#include "qt/mainwindow/QtAnimationPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>

#include <gtest/gtest.h>

#include "core/animation/AviWriter.h"
#include "fakes/TempFolder.h"

namespace trawlit {
namespace {

// Two 4x2 frames on a white background (the top-left pixel): red, then blue, at 20 ms a frame.
std::string TwoFrameClip()
{
    AviFrames clip;
    clip.width = 4;
    clip.height = 2;
    clip.microsecondsPerFrame = 20000;
    clip.palette = { 0xffffff, 0xff0000, 0x0000ff };
    clip.frames = { { 0, 1, 1, 1, 1, 1, 1, 0 }, { 0, 2, 2, 2, 2, 2, 2, 0 } };
    return WriteAvi(clip);
}

QRgb ShownPixel(const QtAnimationPlayer& player)
{
    return player.pixmap().toImage().pixel(1, 0) & 0xffffff;
}

TEST(QtAnimationPlayerTest, PlaysTheClipsFramesInALoop)
{
    fakes::TempFolder temp;
    const std::string path = temp.Write("Search.avi", TwoFrameClip());
    QtAnimationPlayer player;
    ASSERT_TRUE(player.Open(QString::fromStdString(path)));
    EXPECT_EQ(player.size(), QSize(4, 2));
    EXPECT_EQ(ShownPixel(player), 0xff0000u);
    player.Play();
    QElapsedTimer clock;
    clock.start();
    bool sawBlue = false;
    bool sawRedAgain = false;
    while (clock.elapsed() < 2000 && !sawRedAgain) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        sawBlue = sawBlue || ShownPixel(player) == 0x0000ffu;
        sawRedAgain = sawBlue && ShownPixel(player) == 0xff0000u;
    }
    EXPECT_TRUE(sawRedAgain);
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
}

TEST(QtAnimationPlayerTest, MissingOrBrokenClipsPlayNothing)
{
    fakes::TempFolder temp;
    std::string clip = TwoFrameClip();
    const std::string broken = temp.Write("broken.avi", clip.substr(0, clip.size() / 2));
    const std::string garbage = temp.Write("garbage.avi", "RIFF????AVI not really");
    QtAnimationPlayer player;
    for (const std::string& path : { temp / "missing.avi", broken, garbage }) {
        EXPECT_FALSE(player.Open(QString::fromStdString(path))) << path;
        player.Play();
        EXPECT_FALSE(player.IsPlaying());
    }
}

// The background lets the window show through, and at 2x each pixel of the clip becomes a
// sharp 2x2 block instead of a blur.
TEST(QtAnimationPlayerTest, TheBackgroundIsTransparentAndPixelsStaySharpWhenScaled)
{
    fakes::TempFolder temp;
    QtAnimationPlayer player;
    ASSERT_TRUE(player.Open(QString::fromStdString(temp.Write("Search.avi", TwoFrameClip()))));
    const QImage shown = player.pixmap().toImage();
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(3, 1)), 0);
    EXPECT_EQ(shown.pixel(1, 0), 0xffff0000u);

    const QPixmap doubled = QtAnimationPlayer::FramePixmap(shown, 2.0);
    EXPECT_EQ(doubled.size(), QSize(8, 4));
    EXPECT_EQ(doubled.deviceIndependentSize(), QSizeF(4, 2));
    const QImage blocks = doubled.toImage();
    for (const QPoint pixel : { QPoint(0, 0), QPoint(1, 1) })
        EXPECT_EQ(qAlpha(blocks.pixel(pixel)), 0) << pixel.x();
    for (const QPoint pixel : { QPoint(2, 0), QPoint(3, 1) })
        EXPECT_EQ(blocks.pixel(pixel), 0xffff0000u) << pixel.x();
}

} // namespace
} // namespace trawlit
