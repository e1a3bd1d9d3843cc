#include "cli/qt/QtDrawing.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <iostream>
#include <memory>
#include <string_view>

#include "cli/Drawing.h"
#include "cli/Outputs.h"
#include "commands/FileCommands.h"
#include "platform/qt/QtClock.h"
#include "printing/PagePrint.h"
#include "printing/qt/QtPageSurface.h"
#include "project/ProgramState.h"
#include "project/Text.h"
#include "reports/MassHaul.h"
#include "reports/qt/MassHaulDiagram.h"

namespace earthwork::cli {

namespace {

/// A batch command never shows a window: it draws off screen unless told
/// otherwise, so no display is needed.
std::unique_ptr<QGuiApplication> GuiForDrawing() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (QCoreApplication::instance()) return nullptr;
  static int argc = 1;
  static char name[] = "earthwork";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

/// Prints every page of the report file as the Print All command prints it.
bool ReportPdf(ProgramState& state, const std::string& path) {
  const auto app = GuiForDrawing();
  const auto surface = qt::QtPageSurface::ForPdf(path);
  const qt::QtClock clock;
  state.Report.CurrentPage = 1;
  if (!mnuRptPrint_click(state, *surface, clock)) return false;
  std::cout << "PDF: " << path << " (" << surface->PagesPrinted() << " pages)\n";
  return true;
}

bool HaulPictures(const MassHaul& haul, const ProjectStore& store, const std::string& groupName,
                  const std::string& pdf, const std::string& svg, const std::string& png) {
  const auto app = GuiForDrawing();
  const qt::DiagramHeader header{store.HeaderFields[0], store.HeaderFields[1],
                                 store.HeaderFields[2], groupName, qt::QtClock().ShortDate()};
  const std::pair<const std::string*, qt::DiagramFormat> pictures[] = {
      {&pdf, qt::DiagramFormat::Pdf},
      {&svg, qt::DiagramFormat::Svg},
      {&png, qt::DiagramFormat::Png}};
  for (const auto& [path, format] : pictures) {
    if (path->empty()) continue;
    const QByteArray bytes = qt::MassHaulFile(haul, header, format);
    if (!WriteOutput(*path,
                     std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))) {
      return false;
    }
  }
  return true;
}

}  // namespace

void InstallQtDrawing() {
  InstallDrawing(Drawing{&ReportPdf, &HaulPictures});
}

}  // namespace earthwork::cli
