#pragma once

#include <QObject>
#include <QTest>

#include "QtTestSupport.h"

namespace earthwork::testing {

/// A Qt test class whose test functions fail when the scripted dialogs met
/// a question without a scripted answer.
class ScriptedQtTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { failures_ = ScriptFailures(); }
  void cleanup() { QCOMPARE(ScriptFailures(), failures_); }

 private:
  int failures_ = 0;
};

}  // namespace earthwork::testing
