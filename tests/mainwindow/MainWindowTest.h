#pragma once

#include "ScriptedQtTest.h"

namespace earthwork::testing {

/// The main window with scripted dialogs: start-up, settings, the File
/// commands end to end, the unit choice and the other controls.
class MainWindowTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  void startsAnEmptyUntitledProject();
  void menusHaveAccessKeysAndShortcuts();
  void windowSettings_data();
  void windowSettings();
  void fileCommands_data();
  void fileCommands();
  void unitChoice_data();
  void unitChoice();
  void balanceFactorAndEmbankment();
  void recentAndDroppedFiles();
  void headerFieldsMoveOnWithEnter();
  void massHaulWindowAndCsvExport();
};

/// The report preview and the page selection dialog.
class PreviewTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  void pagesForwardAndBack();
  void printRange_data();
  void printRange();
  void pageSelection_data();
  void pageSelection();
  void pageBoxesOfferTheWholeReportAndTakeDigits();
  void keysZoomAndThePageBox();
};

/// The Qt adapters: text conversion, file dialog filters, settings.
class PlatformTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void cp1252RoundTripsEveryByte();
  void cp1252Characters_data();
  void cp1252Characters();
  void charactersOutsideTheCodePageBecomeQuestionMarks();
  void pathsKeepTheFileSystemEncoding();
  void filterListInQtForm();
  void settingsReadTheirDefaultUntilWritten();
};

}  // namespace earthwork::testing
