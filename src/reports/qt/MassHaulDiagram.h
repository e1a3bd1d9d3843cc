#pragma once

#include <QByteArray>
#include <QPainter>
#include <QRectF>
#include <string>

#include "reports/MassHaul.h"

namespace earthwork::qt {

/// The page header of a diagram, as on the report's pages (1252 texts).
struct DiagramHeader {
  std::string designer, project, control, group, date;
};

/// The stretch of road shown, in distance from the first row; an empty one
/// shows all of it.
struct DiagramView {
  double fromX = 0, toX = 0;
};

/// Draws the mass-haul diagram in `area` on whatever device `painter` paints:
/// header, axes with stations and mass, the zero line, the curve, balance
/// points with their stations, the free-haul chords and a legend with the
/// figures. Sizes follow the area, so the screen, a printer page, a PDF, an
/// SVG and a PNG show the same picture.
void DrawMassHaul(QPainter& painter, const QRectF& area, const MassHaul& haul,
                  const DiagramHeader& header, DiagramView view = {});

enum class DiagramFormat { Pdf, Svg, Png };

/// The diagram as the bytes of a file: a landscape Letter page for PDF, a
/// 1600 x 1000 picture for SVG and PNG.
QByteArray MassHaulFile(const MassHaul& haul, const DiagramHeader& header, DiagramFormat format);

}  // namespace earthwork::qt
