#pragma once

#include "ScriptedQtTest.h"

namespace earthwork::testing {

/// The station grid driven by keys and clicks: typing, commits, the end
/// marker, arrows, Delete, the Code drop-down and the row commands.
class GridEditorTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  void enterCommitsAndFormats_data();
  void enterCommitsAndFormats();
  void editInPlaceThenLeaveWithTheMouse_data();
  void editInPlaceThenLeaveWithTheMouse();
  void cursorStaysInViewWhileTyping();
  void keysCommitTheCellLeft_data();
  void keysCommitTheCellLeft();
  void deleteAndBackspace();
  void codeDropDownRemembersLastCode();
  void rowInsertAndDelete();
  void rowCommandsOnTheLastLine_data();
  void rowCommandsOnTheLastLine();
  void insertIntoAFullGroupIsRefused();
};

/// The group tabs and the Group and import commands.
class GroupsTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  void insertAppendsAnEmptyGroup();
  void insertCancelledOrFullChangesNothing_data();
  void insertCancelledOrFullChangesNothing();
  void deleteMovesTheFollowingGroupsDown();
  void deleteOnlyGroupClearsAndRenames();
  void rename_data();
  void rename();
};

/// A whole session in the real window, step by step: every tab, box and
/// cell shows what the store holds, and a saved file reads back as the
/// store.
class SessionTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  void windowShowsTheStoreAtEveryStep_data();
  void windowShowsTheStoreAtEveryStep();
};

}  // namespace earthwork::testing
