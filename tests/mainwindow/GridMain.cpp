#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>

#include "GridEditorTest.h"

int main(int argc, char** argv) {
  // The scripted dialogs report unexpected questions through GoogleTest.
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  int failed = 0;
  {
    earthwork::testing::GridEditorTest test;
    failed += QTest::qExec(&test, argc, argv);
  }
  {
    earthwork::testing::GroupsTest test;
    failed += QTest::qExec(&test, argc, argv);
  }
  {
    earthwork::testing::SessionTest test;
    failed += QTest::qExec(&test, argc, argv);
  }
  return failed == 0 ? 0 : 1;
}
