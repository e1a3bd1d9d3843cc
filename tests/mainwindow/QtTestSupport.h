#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
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
  QObject::connect(timer, &QTimer::timeout, [timer, waited, action] {
    T* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* window = qobject_cast<T*>(w); !found && window && window->isVisible())
        found = window;
    }
    if (!found && ++*waited <= 500) return;
    timer->stop();
    timer->deleteLater();
    if (!found) {
      ADD_FAILURE() << "window never shown: " << T::staticMetaObject.className();
      return;
    }
    action(*found);
    // A check that failed inside a modal window returns before closing it.
    if (QTest::currentTestFailed() && found->isVisible()) found->close();
  });
  timer->start(10);
}

}  // namespace earthwork::testing
