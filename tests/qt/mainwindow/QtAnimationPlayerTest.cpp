#include "qt/mainwindow/QtAnimationPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>

#include <gtest/gtest.h>

#include "fakes/TempFolder.h"
#include "core/animation/AviWriter.h"

namespace trawlit {
namespace {

// Two 4x2 frames: all red, then all blue, at 20 ms a frame.
std::string TwoFrameClip()
{
    AviFrames clip;
    clip.width = 4;
    clip.height = 2;
    clip.microsecondsPerFrame = 20000;
    clip.palette = { 0xff0000, 0x0000ff };
    clip.frames = { std::vector<std::uint8_t>(8, 0), std::vector<std::uint8_t>(8, 1) };
    return WriteAvi(clip);
}

QRgb ShownPixel(const QtAnimationPlayer& player)
{
    return player.pixmap().toImage().pixel(0, 0) & 0xffffff;
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

} // namespace
} // namespace trawlit
