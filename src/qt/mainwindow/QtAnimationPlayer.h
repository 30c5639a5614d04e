#pragma once

#include <QLabel>
#include <QTimer>
#include <memory>
#include <optional>

namespace trawlit {

class AviClip;

// Plays an AVI clip of the kind the old animation control played (8-bit uncompressed or
// RLE8 frames, no sound) in a label, looping, at the clip's own frame rate. Every failure
// (missing file, unreadable clip) just leaves nothing to play.
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

private:
    void ShowNextFrame();

    std::unique_ptr<AviClip> clip_;
    std::size_t nextFrame_ = 0;
    QTimer timer_;
};

} // namespace trawlit
