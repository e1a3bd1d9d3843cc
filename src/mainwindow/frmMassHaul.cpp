#include "mainwindow/frmMassHaul.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "project/FileIO.h"
#include "project/Format.h"
#include "project/Text.h"
#include "project/WindowState.h"

namespace earthwork {

namespace {

constexpr const char* kSection = "FreeHaul";

/// A settings key of the project's path (slashes would make groups).
std::string ProjectKey(const ProgramState& state) {
  std::string key = state.Project.CurrentFileName;
  std::replace(key.begin(), key.end(), '/', '|');
  std::replace(key.begin(), key.end(), '\\', '|');
  return key;
}

std::string Extension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

/// Asks before a file that exists is replaced; false when the user says no.
bool MayReplace(ProgramState& state, const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return true;
  return state.dialogs.MessageBox(path + " already exists. Do you want to replace it?",
                                  Buttons::YesNo, Icon::Exclamation, "", Answer::No) == Answer::Yes;
}

/// The chosen path with its extension in lower case, or "" when cancelled
/// or refused (the message has been shown).
std::string ChooseOutput(ProgramState& state, const std::string& filter,
                         std::initializer_list<const char*> extensions) {
  FileDialogSettings dialog;
  dialog.Filter = filter;
  const auto chosen = state.dialogs.SaveFileDialog(dialog);
  if (!chosen) return "";
  const std::string ext = Extension(*chosen);
  if (std::find(extensions.begin(), extensions.end(), ext) == extensions.end()) {
    std::string list;
    for (const char* e : extensions) list += (list.empty() ? "" : ", ") + std::string(e);
    state.dialogs.MessageBox("Choose a file name ending in " + list + "; nothing was written.");
    return "";
  }
  if (!MayReplace(state, *chosen)) return "";
  return *chosen;
}

void Save(ProgramState& state, const std::string& path, std::string_view bytes) {
  try {
    WriteFileAtomically(path, bytes);
  } catch (const std::exception& e) {
    state.dialogs.MessageBox(e.what());
  }
}

}  // namespace

double ProjectFreeHaul(const ProgramState& state, const Settings& settings) {
  const double fallback = DefaultFreeHaul(state.Project.UnitSystem);
  const auto stored = ParseNumber(settings.Read(kSection, ProjectKey(state), ""));
  return stored && *stored > 0 ? *stored : fallback;
}

void SetProjectFreeHaul(const ProgramState& state, Settings& settings, double freeHaul) {
  settings.Write(kSection, ProjectKey(state), ShortestText(freeHaul));
}

std::optional<MassHaul> MassHaulOfGroupShown(ProgramState& state, const Settings& settings) {
  try {
    const double freeHaul = ProjectFreeHaul(state, settings);
    if (state.Project.LogFileMode) return ComputeLogMassHaul(state, freeHaul);
    return ComputeMassHaul(state.Project.Current(), state.Project.UnitSystem, freeHaul);
  } catch (const std::exception& e) {
    state.dialogs.MessageBox("No mass haul for " + TabCaption(state, state.Project.CurrentGroup) +
                             ": " + e.what() + ".");
    return std::nullopt;
  }
}

void ExportHaulCsv(ProgramState& state, const Settings& settings) {
  const auto haul = MassHaulOfGroupShown(state, settings);
  if (!haul) return;
  const std::string path = ChooseOutput(state, "CSV Files(*.csv)|*.csv", {".csv"});
  if (path.empty()) return;
  Save(state, path, HaulCsv(*haul));
}

MassHaulView::MassHaulView(MassHaul haul, qt::DiagramHeader header, QWidget* parent)
    : QWidget(parent), haul_(std::move(haul)), header_(std::move(header)) {
  setMinimumSize(480, 320);
  setObjectName("picDiagram");
}

void MassHaulView::SetHaul(MassHaul haul) {
  haul_ = std::move(haul);
  update();
}

void MassHaulView::Zoom(double factor, double aroundX) {
  const double from = view_.toX > view_.fromX ? view_.fromX : 0;
  const double to = view_.toX > view_.fromX ? view_.toX : std::max(haul_.length, 1.0);
  const double width = std::clamp((to - from) / factor, 1.0, std::max(haul_.length, 1.0));
  const double share = (aroundX - from) / (to - from);
  double start = aroundX - share * width;
  start = std::clamp(start, 0.0, std::max(0.0, haul_.length - width));
  view_ = {start, start + width};
  update();
}

void MassHaulView::ZoomWhole() {
  view_ = {};
  update();
}

void MassHaulView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  qt::DrawMassHaul(painter, QRectF(rect()), haul_, header_, view_);
}

void MassHaulView::wheelEvent(QWheelEvent* event) {
  const double from = view_.toX > view_.fromX ? view_.fromX : 0;
  const double to = view_.toX > view_.fromX ? view_.toX : std::max(haul_.length, 1.0);
  const double x = from + (to - from) * event->position().x() / std::max(1, width());
  Zoom(event->angleDelta().y() > 0 ? 1.25 : 0.8, x);
}

frmMassHaul::frmMassHaul(ProgramState& state, Settings& settings, const Clock& clock, MassHaul haul,
                         QWidget* parent)
    : QDialog(parent), state_(state), settings_(settings) {
  setObjectName("frmMassHaul");
  setWindowTitle("Mass Haul Diagram");
  const ProjectStore& store = state.Project;
  view_ = new MassHaulView(std::move(haul),
                           {store.HeaderFields[0], store.HeaderFields[1], store.HeaderFields[2],
                            TabCaption(state, store.CurrentGroup), clock.ShortDate()},
                           this);
  auto* buttons = new QHBoxLayout;
  const auto button = [&](const char* caption, const char* name, auto slot) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    buttons->addWidget(b);
  };
  const auto middle = [this] {
    const qt::DiagramView v = view_->View();
    return v.toX > v.fromX ? (v.fromX + v.toX) / 2 : view_->Haul().length / 2;
  };
  button("Zoom &In", "cmdZoomIn", [this, middle] { view_->Zoom(2, middle()); });
  button("Zoom &Out", "cmdZoomOut", [this, middle] { view_->Zoom(0.5, middle()); });
  button("&Whole Group", "cmdZoomWhole", [this] { view_->ZoomWhole(); });
  button("&Free Haul...", "cmdFreeHaul", &frmMassHaul::cmdFreeHaul);
  buttons->addStretch();
  button("&Print...", "cmdPrint", &frmMassHaul::cmdPrint);
  button("&Export...", "cmdExport", &frmMassHaul::cmdExport);
  button("&Close", "cmdClose", &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addLayout(buttons);
  resize(1100, 720);
}

void frmMassHaul::cmdFreeHaul() {
  const MassHaul& haul = view_->Haul();
  const auto text =
      state_.dialogs.InputBox("Free-haul distance (" + LengthUnit(haul.units) + "):", "Free Haul",
                              ShortestText(haul.freeHaul));
  if (!text) return;
  const auto value = ParseNumber(Trim(*text));
  if (!value || !(*value > 0) || !std::isfinite(*value)) {
    state_.dialogs.MessageBox("The free-haul distance must be a positive number, not \"" + *text +
                              "\".");
    return;
  }
  SetProjectFreeHaul(state_, settings_, *value);
  if (auto again = MassHaulOfGroupShown(state_, settings_)) view_->SetHaul(std::move(*again));
}

void frmMassHaul::cmdPrint() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  QPainter painter(&printer);
  qt::DrawMassHaul(painter, QRectF(0, 0, printer.width(), printer.height()), view_->Haul(),
                   view_->Header(), view_->View());
}

void frmMassHaul::cmdExport() {
  const std::string path = ChooseOutput(
      state_, "PDF Files(*.pdf)|*.pdf|SVG Pictures(*.svg)|*.svg|PNG Pictures(*.png)|*.png",
      {".pdf", ".svg", ".png"});
  if (path.empty()) return;
  const std::string ext = Extension(path);
  const qt::DiagramFormat format = ext == ".pdf"   ? qt::DiagramFormat::Pdf
                                   : ext == ".svg" ? qt::DiagramFormat::Svg
                                                   : qt::DiagramFormat::Png;
  const QByteArray bytes = qt::MassHaulFile(view_->Haul(), view_->Header(), format);
  Save(state_, path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

}  // namespace earthwork
