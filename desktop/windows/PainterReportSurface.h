// The report surface on a QPainter: the preview's page image or a printer
// page, in inches from the paper's corner.
#pragma once

#include <QFont>

#include "desktop/core/ReportSurface.h"

class QPainter;

namespace wexal::desktop {

// DejaVu Sans 7 pt, on screen and on paper: at 8 pt a 20-digit service id
// runs into the next column.
ReportFont DefaultReportFont();

class PainterReportSurface final : public ReportSurface {
  public:
    // `painter` is active on a device whose origin is the paper's corner and
    // that has `dotsPerInch` device pixels to an inch.
    PainterReportSurface(QPainter& painter, double dotsPerInch,
                         const ReportFont& font = DefaultReportFont());

    void Clear() override;
    float CurrentX() const override { return x_; }
    float CurrentY() const override { return y_; }
    void SetCurrentX(float x) override { x_ = x; }
    void SetCurrentY(float y) override { y_ = y; }
    ReportFont Font() const override { return font_; }
    void SetFont(const ReportFont& font) override;
    float TextWidth(std::string_view text) const override;
    void Print(std::string_view text) override;

  private:
    QPainter& painter_;
    double dpi_;
    ReportFont font_;
    QFont qfont_;
    float x_ = 0;
    float y_ = 0;
};

}  // namespace wexal::desktop
