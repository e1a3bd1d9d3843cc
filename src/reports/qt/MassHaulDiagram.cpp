#include "reports/qt/MassHaulDiagram.h"

#include <QBuffer>
#include <QImage>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "platform/qt/Cp1252.h"

namespace earthwork::qt {

namespace {

const QColor kCurve(0, 70, 160);
const QColor kChord(200, 90, 0);
const QColor kBalance(0, 130, 60);
const QColor kGrid(215, 215, 215);

/// A round step for about `count` ticks over `range`.
double NiceStep(double range, int count) {
  const double raw = range / std::max(1, count);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * power >= raw) return m * power;
  }
  return 10 * power;
}

QString Q(const std::string& text) {
  return FromCp1252(text);
}

struct Frame {
  QRectF plot;
  double x0, x1, y0, y1;
  QPointF At(double x, double m) const {
    return {plot.left() + (x - x0) / (x1 - x0) * plot.width(),
            plot.bottom() - (m - y0) / (y1 - y0) * plot.height()};
  }
};

QFont FontOf(double pixels, bool bold = false) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  font.setBold(bold);
  return font;
}

QString EndText(const PartEnd& e, Units units) {
  const QString what =
      e.leftover > 0 ? QStringLiteral("Waste")
                     : (e.leftover < 0 ? QStringLiteral("Borrow") : QStringLiteral("Balanced"));
  return what + QStringLiteral(" at ") + Q(StationText(e.station)) +
         (e.forced ? QStringLiteral(" (forced balance)") : QString()) + QStringLiteral(": ") +
         Q(FixedText(std::fabs(e.leftover), 0) + " " + VolumeUnit(units));
}

}  // namespace

void DrawMassHaul(QPainter& painter, const QRectF& area, const MassHaul& haul,
                  const DiagramHeader& header, DiagramView view) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, Qt::white);
  const double u = std::min(area.width() / 110, area.height() / 62);
  const double pen = std::max(1.0, u / 8);

  // Header, as on the report's pages.
  painter.setPen(Qt::black);
  painter.setFont(FontOf(1.5 * u));
  const double line = 2.1 * u;
  const QRectF head(area.left() + 2 * u, area.top() + u, area.width() - 4 * u, 3 * line);
  painter.drawText(head, Qt::AlignLeft | Qt::AlignTop,
                   Q(header.designer) + "\n" + Q(header.project) + "\n" + Q(header.control));
  painter.drawText(head, Qt::AlignRight | Qt::AlignTop,
                   Q(header.date) + "\n" + Q(header.group) + "\nFree haul " +
                       Q(FixedText(haul.freeHaul, 0) + " " + LengthUnit(haul.units)));
  painter.setFont(FontOf(2.0 * u, true));
  painter.drawText(head, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("MASS HAUL DIAGRAM"));

  // The figures below the plot.
  const Units units = haul.units;
  const std::string vol = " " + VolumeUnit(units), hu = " " + HaulUnit(units),
                    len = " " + LengthUnit(units);
  QStringList legend;
  legend << Q("Haul " + FixedText(haul.haul, 2) + hu + "    Volume moved " +
              FixedText(haul.volume, 0) + vol + "    Average haul " +
              FixedText(haul.averageHaulDistance, 1) + len);
  legend << Q("Free-haul volume " + FixedText(haul.freeHaulVolume, 0) + vol +
              "    Overhaul volume " + FixedText(haul.overhaulVolume, 0) + vol + "    Overhaul " +
              FixedText(haul.overhaul, 2) + hu);
  QString ends;
  for (const PartEnd& e : haul.ends) ends += (ends.isEmpty() ? "" : "    ") + EndText(e, units);
  legend << ends;
  const double legendHeight = 4 * line;
  const QRectF legendRect(area.left() + 2 * u, area.bottom() - legendHeight - u,
                          area.width() - 4 * u, legendHeight);

  Frame f;
  f.plot = QRectF(area.left() + 11 * u, head.bottom() + 2 * u, area.width() - 17 * u,
                  legendRect.top() - head.bottom() - 7 * u);
  f.x0 = view.toX > view.fromX ? view.fromX : 0;
  f.x1 = view.toX > view.fromX ? view.toX : std::max(haul.length, 1.0);
  const double span = std::max(haul.maxMass - haul.minMass, 1.0);
  f.y0 = std::min(0.0, haul.minMass) - 0.08 * span;
  f.y1 = std::max(0.0, haul.maxMass) + 0.08 * span;

  // Grid, axes and their labels.
  painter.setFont(FontOf(1.3 * u));
  const double xStep = NiceStep(f.x1 - f.x0, 8);
  for (double x = std::ceil(f.x0 / xStep) * xStep; x <= f.x1 + 1e-9; x += xStep) {
    const QPointF p = f.At(x, f.y0);
    painter.setPen(QPen(kGrid, pen));
    painter.drawLine(p, f.At(x, f.y1));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(p.x() - 6 * u, p.y() + 0.5 * u, 12 * u, 2 * u),
                     Qt::AlignHCenter | Qt::AlignTop, Q(StationText(StationAtDistance(haul, x))));
  }
  const double yStep = NiceStep(f.y1 - f.y0, 6);
  for (double m = std::ceil(f.y0 / yStep) * yStep; m <= f.y1; m += yStep) {
    const QPointF p = f.At(f.x0, m);
    painter.setPen(QPen(kGrid, pen));
    painter.drawLine(p, f.At(f.x1, m));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), p.y() - u, 10 * u, 2 * u),
                     Qt::AlignRight | Qt::AlignVCenter, Q(FixedText(m, 0)));
  }
  painter.drawText(QRectF(f.plot.left(), f.plot.bottom() + 2.6 * u, f.plot.width(), 2 * u),
                   Qt::AlignHCenter, QStringLiteral("Station"));
  painter.drawText(QRectF(area.left(), f.plot.top() - 2.4 * u, 20 * u, 2 * u), Qt::AlignLeft,
                   Q("Mass ordinate (" + VolumeUnit(units) + ")"));
  painter.setPen(QPen(Qt::black, pen));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(f.plot);
  painter.setPen(QPen(Qt::black, 1.6 * pen));
  painter.drawLine(f.At(f.x0, 0), f.At(f.x1, 0));  // the balance line

  painter.setClipRect(f.plot.adjusted(-pen, -pen, pen, pen), Qt::IntersectClip);
  // Forced balances end one part and start the next.
  for (const PartEnd& e : haul.ends) {
    if (!e.forced) continue;
    painter.setPen(QPen(Qt::darkGray, pen, Qt::DashLine));
    painter.drawLine(f.At(e.x, f.y0), f.At(e.x, f.y1));
  }
  painter.setPen(QPen(kCurve, 2 * pen));
  for (const auto& part : haul.parts) {
    QPainterPath path;
    bool first = true;
    for (const MassPoint& p : part) {
      if (p.x < f.x0 - xStep || p.x > f.x1 + xStep) {
        first = true;
        continue;
      }
      // Points closer than a pixel to the last one drawn add nothing.
      const QPointF at = f.At(p.x, p.mass);
      if (first) {
        path.moveTo(at);
      } else if (std::fabs(at.x() - path.currentPosition().x()) >= 0.7 ||
                 std::fabs(at.y() - path.currentPosition().y()) >= 0.7) {
        path.lineTo(at);
      }
      first = false;
    }
    painter.drawPath(path);
  }
  painter.setPen(QPen(kChord, 1.5 * pen, Qt::DashLine));
  for (const HaulLoop& l : haul.loops) {
    for (const auto& [from, to] : l.chordPieces) {
      painter.drawLine(f.At(from, l.chordMass), f.At(to, l.chordMass));
    }
  }
  painter.setFont(FontOf(1.2 * u));
  const double r = 0.5 * u;
  for (size_t i = 0; i < haul.balancePoints.size(); ++i) {
    const BalancePoint& b = haul.balancePoints[i];
    const QPointF p = f.At(b.x, 0);
    painter.setPen(QPen(kBalance, pen));
    painter.setBrush(kBalance);
    painter.drawEllipse(p, r, r);
    painter.setBrush(Qt::NoBrush);
    const double dy = i % 2 == 0 ? -2.4 * u : 0.6 * u;
    painter.drawText(QRectF(p.x() - 6 * u, p.y() + dy, 12 * u, 1.8 * u), Qt::AlignHCenter,
                     Q(StationText(b.station)));
  }
  painter.setClipping(false);

  // Legend: a key, then the figures.
  painter.setFont(FontOf(1.3 * u));
  const double keyY = legendRect.top() + 0.5 * u;
  double kx = legendRect.left();
  const auto key = [&](const QPen& p, bool dot, const QString& text) {
    painter.setPen(p);
    if (dot) {
      painter.setBrush(kBalance);
      painter.drawEllipse(QPointF(kx + 1.5 * u, keyY), r, r);
      painter.setBrush(Qt::NoBrush);
    } else {
      painter.drawLine(QPointF(kx, keyY), QPointF(kx + 3 * u, keyY));
    }
    painter.setPen(Qt::black);
    const QRectF box(kx + 3.6 * u, keyY - u, 30 * u, 2 * u);
    QRectF used;
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text, &used);
    kx = used.right() + 3 * u;
  };
  key(QPen(kCurve, 2 * pen), false, QStringLiteral("Mass curve"));
  key(QPen(kChord, 1.5 * pen, Qt::DashLine), false,
      Q("Free-haul chord (" + FixedText(haul.freeHaul, 0) + len + ")"));
  key(QPen(kBalance, pen), true, QStringLiteral("Balance point"));
  painter.setPen(Qt::black);
  painter.drawText(legendRect.adjusted(0, line, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                   legend.join('\n'));
  painter.restore();
}

QByteArray MassHaulFile(const MassHaul& haul, const DiagramHeader& header, DiagramFormat format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (format == DiagramFormat::Pdf) {
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                     QMarginsF(0.4, 0.4, 0.4, 0.4), QPageLayout::Inch));
    writer.setCreator(QStringLiteral("Earthwork"));
    writer.setTitle(QStringLiteral("MASS HAUL DIAGRAM"));
    QPainter painter(&writer);
    DrawMassHaul(painter, QRectF(0, 0, writer.width(), writer.height()), haul, header);
    painter.end();
  } else if (format == DiagramFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(1600, 1000));
    svg.setViewBox(QRect(0, 0, 1600, 1000));
    svg.setTitle(QStringLiteral("MASS HAUL DIAGRAM"));
    QPainter painter(&svg);
    DrawMassHaul(painter, QRectF(0, 0, 1600, 1000), haul, header);
    painter.end();
  } else {
    QImage image(1600, 1000, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawMassHaul(painter, QRectF(0, 0, 1600, 1000), haul, header);
    painter.end();
    image.save(&buffer, "PNG");
  }
  return bytes;
}

}  // namespace earthwork::qt
