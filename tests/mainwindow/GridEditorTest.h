#pragma once

#include <QObject>

namespace earthwork::testing {

/// The station grid driven by keys and clicks: typing, commits, the end
/// marker, arrows, Delete, the Code drop-down and the row commands.
class GridEditorTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void enterCommitsAndFormats_data();
  void enterCommitsAndFormats();
  void enterThroughWholeRows();
  void cursorStaysInViewWhileTyping();
  void descendingStationIsRejected();
  void arrowsCommitTheCellLeft_data();
  void arrowsCommitTheCellLeft();
  void deleteAndBackspace();
  void tabCommitsLikeEnter();
  void codeDropDownRemembersLastCode();
  void rowInsertAndDelete();
  void rowCommandsOnTheLastLine_data();
  void rowCommandsOnTheLastLine();
  void insertIntoAFullGroupIsRefused();
  void typedProjectSurvivesSaveAndOpen();

 private:
  int failures_ = 0;
};

/// The group tabs and the Group and import commands.
class GroupsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void insertAppendsAnEmptyGroup();
  void insertCancelledOrFullChangesNothing_data();
  void insertCancelledOrFullChangesNothing();
  void deleteMovesTheFollowingGroupsDown();
  void deleteOnlyGroupClearsAndRenames();
  void rename_data();
  void rename();
  void tabClickShowsTheGroup();
  void rightClickOffersTheReports();
  void importEarAppendsItsGroups();
  void importLogIntoASecondTab();

 private:
  int failures_ = 0;
};

}  // namespace earthwork::testing
