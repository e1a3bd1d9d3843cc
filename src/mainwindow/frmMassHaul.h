#pragma once

#include <QDialog>
#include <QWidget>

#include "platform/ports/Shell.h"
#include "project/ProgramState.h"
#include "reports/MassHaul.h"
#include "reports/qt/MassHaulDiagram.h"

class QLabel;

namespace earthwork {

/// The free-haul distance of the open project, from the user's settings
/// (per project file), else the default of its units.
double ProjectFreeHaul(const ProgramState& state, const Settings& settings);
void SetProjectFreeHaul(const ProgramState& state, Settings& settings, double freeHaul);

/// The mass haul of the group shown, or nullopt after a message saying why.
std::optional<MassHaul> MassHaulOfGroupShown(ProgramState& state, const Settings& settings);

/// File > Export CSV: the station and haul figures of the group shown,
/// into a .csv file the user names (replacing one only when the user says so).
void ExportHaulCsv(ProgramState& state, const Settings& settings);

/// The diagram on screen: follows the widget's size; the wheel and the zoom
/// buttons show a part of the road around the pointer or the middle.
class MassHaulView : public QWidget {
  Q_OBJECT
 public:
  MassHaulView(MassHaul haul, qt::DiagramHeader header, QWidget* parent = nullptr);
  void Zoom(double factor, double aroundX);
  void ZoomWhole();
  const MassHaul& Haul() const { return haul_; }
  const qt::DiagramHeader& Header() const { return header_; }
  qt::DiagramView View() const { return view_; }
  void SetHaul(MassHaul haul);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  MassHaul haul_;
  qt::DiagramHeader header_;
  qt::DiagramView view_;
};

/// View > Mass Haul Diagram: the diagram of the group shown, with zoom,
/// the free-haul distance, Print and Export (PDF, SVG, PNG).
class frmMassHaul : public QDialog {
  Q_OBJECT
 public:
  frmMassHaul(ProgramState& state, Settings& settings, const Clock& clock, MassHaul haul,
              QWidget* parent = nullptr);
  MassHaulView& Diagram() { return *view_; }

 public Q_SLOTS:
  void cmdFreeHaul();
  void cmdPrint();
  void cmdExport();

 private:
  ProgramState& state_;
  Settings& settings_;
  MassHaulView* view_ = nullptr;
};

}  // namespace earthwork
