#pragma once

#include <QObject>
#include <memory>

#include "commands/GridEditor.h"
#include "commands/GroupCommands.h"

class QComboBox;
class QTabBar;

namespace earthwork {

class frmMain;
class StationGrid;

/// Wires the grid editor and the group commands into the main window: the
/// grid's keys and clicks, the Code drop-down, the tab strip's mouse
/// buttons, Edit > Group and Row, and the File menu's import item.
class MainFormEditor : public QObject, private GridSurface {
  Q_OBJECT
 public:
  explicit MainFormEditor(frmMain& window);
  ~MainFormEditor() override;

  GridEditor& Editor() { return editor_; }
  QComboBox& CodeCombo() { return *CodeCombo_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool GridKeyPress(int key, const QString& text, Qt::KeyboardModifiers modifiers);
  void GridCellClicked(int row, int column);
  void PlaceCodeCombo(int column, int row);
  void CodeComboDone(bool hide);

  // GridSurface
  int Rows() const override;
  void SetRows(int rows) override;
  std::string Text(int row, int column) const override;
  void SetText(int row, int column, const std::string& text) override;
  int CursorRow() const override;
  int CursorColumn() const override;
  void SetCursor(int row, int column) override;
  void TakeFocus() override;

  frmMain& window_;
  StationGrid& grid_;
  QTabBar& tabs_;
  QComboBox* CodeCombo_ = nullptr;
  // Kept at hand: the filter also sees events while the grid is being
  // destroyed, when asking the grid for its viewport is no longer valid.
  const QObject* viewport_ = nullptr;
  GridEditor editor_;
};

}  // namespace earthwork
