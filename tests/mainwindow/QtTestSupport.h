#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace earthwork::testing {

/// Runs `action` on the first visible top-level window of type T once it
/// is shown (a modal window runs its own event loop, so the caller starts
/// the action first and then opens the window). Gives up after 5 seconds.
template <class T>
void WhenShown(std::function<void(T&)> action) {
  auto* timer = new QTimer;
  auto waited = std::make_shared<int>(0);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, waited, action] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* window = qobject_cast<T*>(w); window && window->isVisible()) {
        timer->stop();
        timer->deleteLater();
        action(*window);
        return;
      }
    }
    if (++*waited > 500) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "window never shown: " << T::staticMetaObject.className();
    }
  });
  timer->start();
}

/// Failures the scripted dialogs reported outside a GoogleTest test (a
/// question without a scripted answer).
inline int ScriptFailures() {
  return ::testing::UnitTest::GetInstance()->ad_hoc_test_result().total_part_count();
}

}  // namespace earthwork::testing
