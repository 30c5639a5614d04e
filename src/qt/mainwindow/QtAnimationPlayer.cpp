#include "qt/mainwindow/QtAnimationPlayer.h"

#include <QFile>
#include <QImage>
#include <QPixmap>

#include "core/animation/AviClip.h"

namespace trawlit {

namespace {
constexpr int kFallbackMilliseconds = 100;
constexpr qint64 kLargestClip = 16 * 1024 * 1024; // a busy animation is small
} // namespace

QtAnimationPlayer::QtAnimationPlayer(QWidget* parent)
    : QLabel(parent)
{
    connect(&timer_, &QTimer::timeout, this, &QtAnimationPlayer::ShowNextFrame);
}

QtAnimationPlayer::~QtAnimationPlayer() = default;

bool QtAnimationPlayer::Open(const QString& path)
{
    Close();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestClip) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    std::optional<AviClip> clip = AviClip::Parse(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!clip || clip->FrameCount() == 0) {
        return false;
    }
    clip_ = std::make_unique<AviClip>(std::move(*clip));
    setFixedSize(static_cast<int>(clip_->Width()), static_cast<int>(clip_->Height()));
    nextFrame_ = 0;
    ShowNextFrame();
    return true;
}

void QtAnimationPlayer::Play()
{
    if (!clip_) {
        return;
    }
    const auto perFrame = static_cast<int>(clip_->MicrosecondsPerFrame() / 1000);
    timer_.start(perFrame > 0 ? perFrame : kFallbackMilliseconds);
}

void QtAnimationPlayer::Stop()
{
    timer_.stop();
}

void QtAnimationPlayer::Close()
{
    timer_.stop();
    clip_.reset();
    clear();
}

void QtAnimationPlayer::ShowNextFrame()
{
    if (!clip_) {
        return;
    }
    std::vector<std::uint32_t> argb;
    if (!clip_->DecodeFrame(nextFrame_, argb)) {
        Close(); // a bad frame ends the animation, nothing else
        return;
    }
    const auto width = static_cast<int>(clip_->Width());
    const auto height = static_cast<int>(clip_->Height());
    QImage frame(reinterpret_cast<const uchar*>(argb.data()), width, height, width * 4,
        QImage::Format_ARGB32);
    setPixmap(QPixmap::fromImage(frame.copy()));
    nextFrame_ = (nextFrame_ + 1) % clip_->FrameCount();
}

} // namespace trawlit
