#include "platform/qt/Cp1252.h"

#include <array>

namespace earthwork::qt {

namespace {

// Unicode code points of the bytes 0x80..0x9F; the rest of 1252 equals
// Latin-1. Undefined bytes keep their own value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char ToByte(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == unit) return static_cast<char>(0x80 + i);
  }
  return '?';
}

/// True for well-formed UTF-8 that holds at least one multi-byte sequence.
bool IsMultiByteUtf8(std::string_view bytes) {
  bool multiByte = false;
  for (size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    size_t length = 1;
    if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
    } else if (b >= 0xE0) {
      length = 3;
    } else if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0x80) {
      return false;
    }
    if (i + length > bytes.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    multiByte = multiByte || length > 1;
    i += length;
  }
  return multiByte;
}

}  // namespace

QString FromCoreText(std::string_view bytes) {
  if (IsMultiByteUtf8(bytes)) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  }
  return FromCp1252(bytes);
}

std::string ToCorePath(const QString& path) {
  return path.toUtf8().toStdString();
}

QString FromCp1252(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    const char16_t unit = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : char16_t{b};
    text.append(QChar(unit));
  }
  return text;
}

std::string ToCp1252(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text.at(i);
    if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      ++i;  // one character outside the code page, not two
      bytes += '?';
      continue;
    }
    bytes += ToByte(ch.unicode());
  }
  return bytes;
}

}  // namespace earthwork::qt
