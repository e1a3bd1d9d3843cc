#include "WindowHarness.h"

int main(int argc, char** argv) {
  // The scripted dialogs report unexpected questions through GoogleTest.
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  int failed = 0;
  for (const auto& run : earthwork::testing::suites) failed += run(argc, argv);
  return failed == 0 ? 0 : 1;
}
