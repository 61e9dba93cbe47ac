#include "desktop/windows/PainterReportSurface.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace wexal::desktop {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ReportFont DefaultReportFont() {
    ReportFont font;
    font.Name = "DejaVu Sans";
    font.Size = 7;
    return font;
}

PainterReportSurface::PainterReportSurface(QPainter& painter, double dotsPerInch,
                                           const ReportFont& font)
    : painter_(painter), dpi_(dotsPerInch) {
    SetFont(font);
}

void PainterReportSurface::Clear() {
    const QPaintDevice* device = painter_.device();
    painter_.fillRect(QRect(0, 0, device->width(), device->height()), Qt::white);
    x_ = 0;
    y_ = 0;
}

void PainterReportSurface::SetFont(const ReportFont& font) {
    font_ = font;
    qfont_ = QFont(FromUtf8(font.Name));
    if (font.Size > 0) {
        qfont_.setPointSizeF(font.Size);
    }
    qfont_.setBold(font.Bold);
    qfont_.setItalic(font.Italic);
    qfont_.setUnderline(font.Underline);
}

float PainterReportSurface::TextWidth(std::string_view text) const {
    const QFontMetricsF metrics(qfont_, painter_.device());
    return static_cast<float>(metrics.horizontalAdvance(FromUtf8(text)) / dpi_);
}

void PainterReportSurface::Print(std::string_view text) {
    const QFontMetricsF metrics(qfont_, painter_.device());
    painter_.setFont(qfont_);
    painter_.setPen(Qt::black);
    painter_.drawText(QPointF(x_ * dpi_, y_ * dpi_ + metrics.ascent()), FromUtf8(text));
    y_ += static_cast<float>(metrics.lineSpacing() / dpi_);
}

}  // namespace wexal::desktop
