#include "qt/widgets/IconWithGap.h"

#include <QIconEngine>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <utility>

namespace trawlit {

namespace {

constexpr int kGapPixels = 6;

// The icon drawn square at the left of a wider box; the rest of the box stays transparent.
class GapAfterIconEngine : public QIconEngine {
public:
    explicit GapAfterIconEngine(QIcon icon)
        : icon_(std::move(icon))
    {
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const int side = std::min(rect.width(), rect.height());
        icon_.paint(painter,
            QRect(rect.left(), rect.top() + (rect.height() - side) / 2, side, side),
            Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
    QIconEngine* clone() const override { return new GapAfterIconEngine(icon_); }

private:
    QIcon icon_;
};

} // namespace

void SetIconWithGap(QPushButton& button, const QIcon& icon)
{
    const int side = button.style()->pixelMetric(QStyle::PM_ButtonIconSize, nullptr, &button);
    button.setIcon(QIcon(new GapAfterIconEngine(icon)));
    button.setIconSize(QSize(side + kGapPixels, side));
}

} // namespace trawlit
