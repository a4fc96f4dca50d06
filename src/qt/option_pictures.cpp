#include "qt/option_pictures.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <functional>
#include <map>
#include <utility>

#include "qt/picture_paths.h"

namespace voxtane::qt {
namespace {

using PaintFunction = std::function<void(QPainter&, QIcon::Mode)>;

// Paints a picture designed in a box of `designSize` into whatever rectangle it is asked for:
// the painter is scaled, so strokes keep their proportions and the result is sharp at every
// size and device pixel ratio.
class VectorIconEngine : public QIconEngine {
  public:
    VectorIconEngine(QSize designSize, PaintFunction paint)
        : designSize_(designSize), paint_(std::move(paint)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const double scale = std::min(rect.width() / double(designSize_.width()),
                                      rect.height() / double(designSize_.height()));
        const QSizeF drawn = QSizeF(designSize_) * scale;
        painter->translate(rect.x() + (rect.width() - drawn.width()) / 2,
                           rect.y() + (rect.height() - drawn.height()) / 2);
        painter->scale(scale, scale);
        paint_(*painter, mode);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    // Asked for a picture of `size` device pixels to be shown at `scale` device pixels per
    // logical pixel: it is drawn at full resolution.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap result = pixmap(size, mode, state);
        result.setDevicePixelRatio(scale);
        return result;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new VectorIconEngine(designSize_, paint_); }
    QString key() const override { return QStringLiteral("voxtane.vector"); }

  private:
    QSize designSize_;
    PaintFunction paint_;
};

QColor InkFor(QIcon::Mode mode) {
    const QPalette palette = QGuiApplication::palette();
    return mode == QIcon::Disabled ? palette.color(QPalette::Disabled, QPalette::WindowText)
                                   : palette.color(QPalette::Active, QPalette::WindowText);
}

void PaintPicture(QPainter& painter, const PicturePaths& paths, QIcon::Mode mode) {
    const QColor ink = InkFor(mode);
    if (!paths.envelope.isEmpty()) {
        QColor faint = ink;
        faint.setAlphaF(0.45f);
        painter.setPen(QPen(faint, 0.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(paths.envelope);
    }
    // Resonance strokes stand close together; a finer pen keeps them apart.
    const double width = paths.envelope.isEmpty() ? 1.4 : 1.0;
    painter.setPen(QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(paths.wave);
}

// The program's icon: a resonant wave on a dark rounded tile, as in data/io.github.voxtane.Voxtane.svg.
void PaintProgramIcon(QPainter& painter, QIcon::Mode) {
    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0, QColor(0x2b, 0x3a, 0x67));
    tile.setColorAt(1, QColor(0x14, 0x1c, 0x33));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    const PicturePaths paths = PathsOf(PictureSet::Waveform, 6);
    painter.save();
    painter.translate(6, 10);
    painter.scale(52.0 / kPictureSize.width(), 44.0 / kPictureSize.height());
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x7f, 0xd1, 0xff, 110), 0.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(paths.envelope);
    painter.setPen(QPen(QColor(0xff, 0xc8, 0x57), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(paths.wave);
    painter.restore();
}

}  // namespace

QIcon OptionPicture(PictureSet set, int index) {
    // Each outline is computed once: the four waveform groups show the same eight pictures, and
    // every window made in a run shows them again.
    static std::map<std::pair<PictureSet, int>, PicturePaths> outlines;
    auto found = outlines.find({set, index});
    if (found == outlines.end())
        found = outlines.emplace(std::pair{set, index}, PathsOf(set, index)).first;
    const PicturePaths paths = found->second;
    return QIcon(new VectorIconEngine(kPictureSize, [paths](QPainter& painter, QIcon::Mode mode) {
        PaintPicture(painter, paths, mode);
    }));
}

QIcon ProgramIcon() {
    return QIcon(new VectorIconEngine(QSize(64, 64), PaintProgramIcon));
}

}  // namespace voxtane::qt
