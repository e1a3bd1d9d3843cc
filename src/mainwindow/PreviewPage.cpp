#include "mainwindow/PreviewPage.h"

#include <QFontInfo>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/qt/Cp1252.h"

namespace earthwork {

namespace {

constexpr int kMargin = 12;  // pixels of grey around the sheet

std::string Number(double v) {
  // Positions are whole units in practice; keep fractions readable anyway.
  if (v == std::floor(v)) return std::to_string(static_cast<long long>(v));
  return QString::number(v, 'f', 2).toStdString();
}

}  // namespace

QFont MonospacedFont(const QString& family, double points) {
  QFont font(family);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSizeF(points);
  if (!QFontInfo(font).fixedPitch()) {
    for (const char* fallback : {"Liberation Mono", "DejaVu Sans Mono", "Monospace"}) {
      font.setFamily(fallback);
      if (QFontInfo(font).fixedPitch()) break;
    }
  }
  return font;
}

PreviewPage::PreviewPage(QWidget* parent) : QWidget(parent) {
  setObjectName("PreviewPage");
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewPage::SetPageSize(double width, double height) {
  width_ = width;
  height_ = height;
  updateGeometry();
  resize(sizeHint());
  update();
}

void PreviewPage::Clear() {
  texts_.clear();
  strokes_.clear();
  update();
}

void PreviewPage::SetZoom(double zoom) {
  zoom_ = zoom;
  updateGeometry();
  resize(sizeHint());
  update();
}

double PreviewPage::ZoomForWidth(int pixels) const {
  return std::max(pixels - 2 * kMargin, 1) / (width_ * UnitX());
}

double PreviewPage::ZoomForHeight(int pixels) const {
  return std::max(pixels - 2 * kMargin, 1) / (height_ * UnitY());
}

double PreviewPage::UnitX() const {
  return logicalDpiX() / 12.0;
}
double PreviewPage::UnitY() const {
  return logicalDpiY() / 6.0;
}

QPoint PreviewPage::ToPixels(double x, double y) const {
  return {kMargin + static_cast<int>(std::lround(x * UnitX() * zoom_)),
          kMargin + static_cast<int>(std::lround(y * UnitY() * zoom_))};
}

QSize PreviewPage::sizeHint() const {
  const QPoint corner = ToPixels(width_, height_);
  return {corner.x() + kMargin, corner.y() + kMargin};
}

std::vector<std::string> PreviewPage::Items() const {
  std::vector<std::string> items;
  for (const Stroke& s : strokes_) {
    items.push_back("line " + Number(s.x) + " " + Number(s.y) + " " + Number(s.dx) + " " +
                    Number(s.dy));
  }
  for (const Text& t : texts_) {
    items.push_back("text " + Number(t.x) + " " + Number(t.y) + " " + qt::ToCp1252(t.text));
  }
  return items;
}

QFont PreviewPage::CurrentFont() const {
  QFont font = MonospacedFont(qt::FromCp1252(fontName_), fontSize_);
  font.setBold(bold_);
  return font;
}

void PreviewPage::SetPosition(double x, double y) {
  x_ = x;
  y_ = y;
}

void PreviewPage::Print(const std::string& text) {
  const QFont font = CurrentFont();
  texts_.push_back({x_, y_, qt::FromCp1252(text), font});
  // The position moves to the start of the next line.
  x_ = 0;
  y_ += QFontMetricsF(font, this).height() / UnitY();
  update();
}

void PreviewPage::Line(double x, double y, double dx, double dy) {
  strokes_.push_back({x, y, dx, dy});
  update();
}

void PreviewPage::SetFontName(const std::string& name) {
  fontName_ = name;
}
void PreviewPage::SetFontSize(double points) {
  fontSize_ = points;
}
void PreviewPage::SetBold(bool bold) {
  bold_ = bold;
}
void PreviewPage::SetTransparent(bool) {}  // text never paints a background here

void PreviewPage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Dark));
  const QRect sheet(ToPixels(0, 0), ToPixels(width_, height_));
  painter.fillRect(sheet.translated(3, 3), QColor(0, 0, 0, 60));
  painter.fillRect(sheet, Qt::white);
  painter.setPen(QPen(Qt::black, 1));
  for (const Stroke& s : strokes_) {
    painter.drawLine(ToPixels(s.x, s.y), ToPixels(s.x + s.dx, s.y + s.dy));
  }
  for (const Text& t : texts_) {
    QFont font = t.font;
    font.setPointSizeF(t.font.pointSizeF() * zoom_);
    painter.setFont(font);
    const QPoint at = ToPixels(t.x, t.y);
    painter.drawText(QPointF(at.x(), at.y() + QFontMetricsF(font, this).ascent()), t.text);
  }
}

}  // namespace earthwork
