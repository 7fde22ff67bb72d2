#include "store/codec.h"

#include <array>
#include <bit>
#include <cstring>

namespace sortilan {

namespace {

constexpr std::array<char16_t, 32> kAltos = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                             0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                             0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                             0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

int16_t leerInt16(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return static_cast<int16_t>(static_cast<uint16_t>(u[0] | (u[1] << 8)));
}

void escribirInt16(char* p, int16_t v) {
  const auto u = static_cast<uint16_t>(v);
  p[0] = static_cast<char>(u & 0xFF);
  p[1] = static_cast<char>(u >> 8);
}

double leerDouble(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | u[i];
  return std::bit_cast<double>(bits);
}

void escribirDouble(char* p, double v) {
  auto bits = std::bit_cast<uint64_t>(v);
  for (int i = 0; i < 8; ++i) {
    p[i] = static_cast<char>(bits & 0xFF);
    bits >>= 8;
  }
}

QString desdeWindows1252(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80 && b < 0xA0)
      out.append(QChar(kAltos[b - 0x80]));
    else
      out.append(QLatin1Char(static_cast<char>(b)));
  }
  return out;
}

QByteArray aWindows1252(const QString& text) {
  QByteArray out;
  out.reserve(text.size());
  for (QChar ch : text) {
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out.append(static_cast<char>(u));
      continue;
    }
    char b = '?';
    for (int i = 0; i < 32; ++i) {
      if (kAltos[i] == u) {
        b = static_cast<char>(0x80 + i);
        break;
      }
    }
    out.append(b);
  }
  return out;
}

QByteArray campoTexto(const QString& text, int ancho) {
  QByteArray b = aWindows1252(text).left(ancho);
  if (b.size() < ancho) b.append(QByteArray(ancho - b.size(), ' '));
  return b;
}

}  // namespace sortilan
