#include "platform/qt/QtClock.h"

#include <QDate>
#include <QLocale>

#include "platform/qt/Cp1252.h"

namespace earthwork::qt {

std::string QtClock::ShortDate() const {
  return ToCp1252(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
}

}  // namespace earthwork::qt
