#include "printing/qt/QtPageSurface.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <filesystem>

#include "platform/qt/Cp1252.h"
#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/Paths.h"

namespace earthwork::qt {

namespace {

constexpr int kPdfResolution = 1200;
constexpr double kPenPoints = 0.6;
/// The units across Letter paper's printable area, which the page layout
/// is made for (it needs at least 95).
constexpr double kLayoutUnitsAcross = 97.5;
const QString kDocumentName = QStringLiteral("EARTHWORK CALCULATION REPORT");

bool IsMonospaced(const QString& family) {
  QFont font(family);
  font.setStyleHint(QFont::TypeWriter);
  const QFontInfo info(font);
  return info.fixedPitch();
}

/// The family to draw with for `asked`: itself (or what the font system
/// maps it to) when monospaced, else the first monospaced substitute.
QString MonospacedFamily(const QString& asked) {
  static QHash<QString, QString> resolved;
  const auto known = resolved.constFind(asked.toLower());
  if (known != resolved.constEnd()) return *known;
  QString family;
  for (const QString& candidate :
       {asked, QStringLiteral("Courier New"), QStringLiteral("Courier"),
        QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")}) {
    if (IsMonospaced(candidate)) {
      QFont font(candidate);
      font.setStyleHint(QFont::TypeWriter);
      family = QFontInfo(font).family();
      break;
    }
  }
  if (family.isEmpty()) family = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
  resolved.insert(asked.toLower(), family);
  return family;
}

}  // namespace

QPageLayout ReportPageLayout(const QPageSize& paper) {
  return QPageLayout(paper, QPageLayout::Portrait, QMarginsF(0.1875, 0.1875, 0.1875, 0.1875),
                     QPageLayout::Inch);
}

std::unique_ptr<QtPageSurface> QtPageSurface::ForPdf(const std::string& path,
                                                     const QPageSize& paper) {
  auto factory = [paper](QIODevice* buffer) -> std::unique_ptr<QPagedPaintDevice> {
    auto writer = std::make_unique<QPdfWriter>(buffer);
    writer->setResolution(kPdfResolution);
    writer->setPageLayout(ReportPageLayout(paper));
    writer->setCreator(QStringLiteral("Earthwork"));
    writer->setTitle(kDocumentName);
    return writer;
  };
  return std::unique_ptr<QtPageSurface>(new QtPageSurface(factory, path, path));
}

std::string QtPageSurface::PdfInsteadOfPrinter(const std::string& reportPath) {
  return ReportDirectory() +
         std::filesystem::path(StripFile(reportPath)).replace_extension(".pdf").string();
}

std::unique_ptr<QtPageSurface> QtPageSurface::ForPrinter(const std::string& pdfPath) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return ForPdf(pdfPath);
  auto factory = [info](QIODevice*) -> std::unique_ptr<QPagedPaintDevice> {
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setDocName(kDocumentName);
    const QPageSize paper =
        info.defaultPageSize().isValid() ? info.defaultPageSize() : QPageSize(QPageSize::Letter);
    if (!printer->setPageLayout(ReportPageLayout(paper))) {
      // The printer needs wider margins: keep its own, on its paper.
      printer->setPageSize(paper);
      printer->setPageOrientation(QPageLayout::Portrait);
    }
    return printer;
  };
  return std::unique_ptr<QtPageSurface>(
      new QtPageSurface(factory, ToCp1252(info.printerName()), std::string()));
}

QtPageSurface::QtPageSurface(DeviceFactory factory, std::string deviceName, std::string pdfPath)
    : factory_(std::move(factory)),
      deviceName_(std::move(deviceName)),
      pdfPath_(std::move(pdfPath)) {}

QtPageSurface::~QtPageSurface() {
  // An unfinished PDF is dropped rather than written half; a printer job
  // is sent as far as it goes.
  if (painter_.isActive()) painter_.end();
}

QPagedPaintDevice& QtPageSurface::Device() const {
  if (!device_) {
    if (!pdfPath_.empty()) {
      buffer_ = std::make_unique<QBuffer>();
      buffer_->open(QIODevice::WriteOnly);
    }
    device_ = factory_(buffer_.get());
  }
  return *device_;
}

double QtPageSurface::UnitX() const {
  return Device().logicalDpiX() / 12.0;
}
double QtPageSurface::UnitY() const {
  return Device().logicalDpiY() / 6.0;
}

double QtPageSurface::Scale() const {
  const double across = Device().pageLayout().paintRect(QPageLayout::Inch).width() * 12;
  return std::min(1.0, across / kLayoutUnitsAcross);
}

void QtPageSurface::Begin() {
  if (painter_.isActive()) return;
  if (!painter_.begin(&Device())) throw ProgramError("Cannot print on " + deviceName_);
  painter_.scale(Scale(), Scale());
  painter_.setPen(QPen(Qt::black, kPenPoints / 72.0 * Device().logicalDpiY()));
  painter_.setBackground(Qt::white);
  painter_.setBackgroundMode(transparent_ ? Qt::TransparentMode : Qt::OpaqueMode);
  pages_ = 1;
  pageHasInk_ = false;
  fontDirty_ = true;
}

void QtPageSurface::ApplyFont() {
  if (!fontDirty_) return;
  font_ = QFont(MonospacedFamily(FromCp1252(fontName_)));
  font_.setStyleHint(QFont::TypeWriter);
  font_.setPointSizeF(fontSize_);
  font_.setBold(bold_);
  painter_.setFont(font_);
  fontDirty_ = false;
}

QString QtPageSurface::ResolvedFamily() const {
  return MonospacedFamily(FromCp1252(fontName_));
}

void QtPageSurface::SetPosition(double x, double y) {
  x_ = x;
  y_ = y;
}

void QtPageSurface::Print(const std::string& text) {
  Begin();
  ApplyFont();
  const QFontMetricsF metrics(painter_.font(), painter_.device());
  if (!text.empty()) {
    const QString shown = FromCp1252(text);
    const QPointF at(x_ * UnitX(), y_ * UnitY() + metrics.ascent());
    const double room = (PrintableWidth() - x_) * UnitX();
    // Measuring shapes the text a second time: a line that fits even at the
    // widest glyph's width is drawn without it.
    const bool fits = static_cast<double>(shown.size()) * metrics.maxWidth() <= room;
    const double wide = fits ? 0 : metrics.horizontalAdvance(shown);
    if (wide > room && room > 0) {
      // What would pass the paper's edge is drawn smaller instead of cut.
      QFont smaller = font_;
      smaller.setPointSizeF(fontSize_ * room / wide * 0.995);
      painter_.setFont(smaller);
      painter_.drawText(at, shown);
      painter_.setFont(font_);
    } else {
      painter_.drawText(at, shown);
    }
    pageHasInk_ = true;
  }
  x_ = 0;
  y_ += metrics.lineSpacing() / UnitY();
}

void QtPageSurface::Line(double x, double y, double dx, double dy) {
  Begin();
  const double ux = UnitX(), uy = UnitY();
  painter_.drawLine(QPointF(x * ux, y * uy), QPointF((x + dx) * ux, (y + dy) * uy));
  pageHasInk_ = true;
}

void QtPageSurface::SetFontName(const std::string& name) {
  fontName_ = name;
  fontDirty_ = true;
}

void QtPageSurface::SetFontSize(double points) {
  fontSize_ = points;
  fontDirty_ = true;
}

void QtPageSurface::SetBold(bool bold) {
  bold_ = bold;
  fontDirty_ = true;
}

void QtPageSurface::SetTransparent(bool transparent) {
  transparent_ = transparent;
  if (painter_.isActive()) {
    painter_.setBackgroundMode(transparent ? Qt::TransparentMode : Qt::OpaqueMode);
  }
}

void QtPageSurface::NewPage() {
  // A new page before anything was drawn would leave a blank sheet.
  if (!painter_.isActive() || !pageHasInk_) return;
  Device().newPage();
  ++pages_;
  pageHasInk_ = false;
}

void QtPageSurface::EndDoc() {
  if (!painter_.isActive()) return;
  painter_.end();
  pagesPrinted_ = pages_;
  if (pdfPath_.empty()) {
    device_.reset();
    return;
  }
  const QByteArray bytes = buffer_->data();
  device_.reset();
  buffer_.reset();
  WriteFileAtomically(pdfPath_, std::string_view(bytes.constData(), bytes.size()));
}

double QtPageSurface::PrintableWidth() const {
  return Device().pageLayout().paintRect(QPageLayout::Inch).width() * 12 / Scale();
}

double QtPageSurface::PrintableHeight() const {
  return Device().pageLayout().paintRect(QPageLayout::Inch).height() * 6 / Scale();
}

std::string QtPageSurface::DeviceName() const {
  return deviceName_;
}

}  // namespace earthwork::qt
