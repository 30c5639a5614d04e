#include "qt/mainwindow/QtAnimationPlayer.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <cmath>

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
    std::vector<std::uint32_t> first;
    if (!clip->DecodeFrame(0, first) || first.empty()) {
        return false;
    }
    background_ = first.front();
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

QPixmap QtAnimationPlayer::FramePixmap(const QImage& frame, qreal devicePixelRatio)
{
    const int scale = std::max(1, static_cast<int>(std::ceil(devicePixelRatio)));
    QPixmap pixmap = QPixmap::fromImage(
        frame.scaled(frame.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
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
    std::replace(argb.begin(), argb.end(), background_, std::uint32_t { 0 });
    const auto width = static_cast<int>(clip_->Width());
    const auto height = static_cast<int>(clip_->Height());
    const QImage frame(reinterpret_cast<const uchar*>(argb.data()), width, height, width * 4,
        QImage::Format_ARGB32);
    setPixmap(FramePixmap(frame, devicePixelRatioF()));
    nextFrame_ = (nextFrame_ + 1) % clip_->FrameCount();
}

} // namespace trawlit
