#pragma once

#include <QFont>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/ports/PageSurface.h"

namespace earthwork {

/// The preview's page area: a page surface in character units (1/12 inch
/// across, 1/6 inch down) that keeps what was drawn on it and paints it,
/// scaled to the screen and zoomed, whenever the widget is shown or exposed.
class PreviewPage : public QWidget, public PageSurface {
  Q_OBJECT
 public:
  explicit PreviewPage(QWidget* parent = nullptr);

  /// The page size in character units (the printer's W and H).
  void SetPageSize(double width, double height);
  /// Forgets everything drawn.
  void Clear();

  /// 1 shows the page at its printed size.
  void SetZoom(double zoom);
  double Zoom() const { return zoom_; }
  /// The zoom at which the whole page, with its grey border, is `pixels`
  /// wide or high.
  double ZoomForWidth(int pixels) const;
  double ZoomForHeight(int pixels) const;

  /// Screen pixels of a character-unit position on the page.
  QPoint ToPixels(double x, double y) const;

  /// What was drawn, for tests: one line per text ("text X Y TEXT") and
  /// per line ("line X Y DX DY").
  std::vector<std::string> Items() const;

  // PageSurface
  void SetPosition(double x, double y) override;
  void Print(const std::string& text) override;
  void Line(double x, double y, double dx, double dy) override;
  void SetFontName(const std::string& name) override;
  void SetFontSize(double points) override;
  void SetBold(bool bold) override;
  void SetTransparent(bool transparent) override;
  void NewPage() override {}
  void EndDoc() override {}
  double PrintableWidth() const override { return width_; }
  double PrintableHeight() const override { return height_; }
  std::string DeviceName() const override { return "Preview"; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Text {
    double x, y;
    QString text;
    QFont font;
  };
  struct Stroke {
    double x, y, dx, dy;
  };
  QFont CurrentFont() const;
  double UnitX() const;
  double UnitY() const;

  double zoom_ = 1;
  double width_ = 96;
  double height_ = 63;
  double x_ = 0;
  double y_ = 0;
  std::string fontName_ = "courier";
  double fontSize_ = 10;
  bool bold_ = false;
  std::vector<Text> texts_;
  std::vector<Stroke> strokes_;
};

/// A fixed-pitch font of the given family: the family itself when it is
/// fixed-pitch here, else a metric-compatible monospaced face.
QFont MonospacedFont(const QString& family, double points);

}  // namespace earthwork
