#pragma once

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>

namespace trawlit {

class AviClip;

// Plays an AVI clip of the kind the old animation control played (8-bit uncompressed or
// RLE8 frames, no sound) in a label, looping, at the clip's own frame rate. The clip's
// background, the colour of the first frame's top-left pixel, is transparent, so the clip
// stands on the window's own background in any theme. Every failure (missing file,
// unreadable clip) just leaves nothing to play.
class QtAnimationPlayer : public QLabel {
    Q_OBJECT
public:
    explicit QtAnimationPlayer(QWidget* parent = nullptr);
    ~QtAnimationPlayer() override;

    bool Open(const QString& path); // false when the clip cannot be played
    void Play();
    void Stop();
    void Close();
    bool IsPlaying() const { return timer_.isActive(); }

    // A frame for a screen of the given scale: each clip pixel becomes a whole block of
    // screen pixels, so that the small clip stays sharp at 2x instead of blurring.
    static QPixmap FramePixmap(const QImage& frame, qreal devicePixelRatio);

private:
    void ShowNextFrame();

    std::unique_ptr<AviClip> clip_;
    std::size_t nextFrame_ = 0;
    std::uint32_t background_ = 0;
    QTimer timer_;
};

} // namespace trawlit
