#include "answer/buscador.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace sortilan {

namespace {
std::array<char, 256> tablaMayusculas() {
  std::array<char, 256> t{};
  for (int i = 0; i < 256; ++i) {
    int u = i;
    if ((i >= 'a' && i <= 'z') || (i >= 0xE0 && i <= 0xFE && i != 0xF7))
      u = i - 0x20;
    else if (i == 0x9A || i == 0x9C || i == 0x9E)
      u = i - 0x10;  // š œ ž
    else if (i == 0xFF)
      u = 0x9F;  // ÿ
    t[static_cast<size_t>(i)] = static_cast<char>(u);
  }
  return t;
}
const std::array<char, 256> kMayusculas = tablaMayusculas();

bool igualEnMayusculas(const char* w, const QByteArray& mayus) {
  for (qsizetype i = 0; i < mayus.size(); ++i)
    if (mayuscula1252(w[i]) != mayus[i]) return false;
  return true;
}
}  // namespace

char mayuscula1252(char c) { return kMayusculas[static_cast<unsigned char>(c)]; }

QByteArray mayusculas1252(const QByteArray& b) {
  QByteArray r(b);
  for (char& c : r) c = mayuscula1252(c);
  return r;
}

QByteArray Buscador::busca(const QByteArray& empieza, const QByteArray& final) {
  finbusca_ = false;
  if (fallo_) return {};
  const QByteArray e = mayusculas1252(empieza);
  const qint64 n = e.size();
  const qint64 m = final.size();
  const qint64 l = largo();
  const char* d = datos_.constData();

  // Search: the window slides one byte at a time from P; a window that would reach
  // past the end stops the search, so a match ending on the last byte is not seen.
  if (n > 0) {
    if (p_ < 1 || p_ > l) {
      fallo_ = true;
      return {};
    }
    qint64 q = p_;
    for (;; ++q) {
      if (q + n > l) {
        p_ = q + 1;
        finbusca_ = true;
        return {};
      }
      if (mayuscula1252(d[q - 1]) == e[0] && igualEnMayusculas(d + q - 1, e)) break;
    }
    p_ = q + n;
  }

  // Collect up to the end text (as written or in upper case), or until the window
  // start reaches the next-to-last byte.
  if (m == 0) return {};
  if (p_ < 1 || p_ > l) {
    fallo_ = true;
    return {};
  }
  const QByteArray finalMayus = mayusculas1252(final);
  const qint64 desde = p_;
  if (desde == l) {
    // The only window left is the last byte: it is taken, and the next read falls outside.
    if (m == 1 && (d[l - 1] == final[0] || d[l - 1] == finalMayus[0])) {
      p_ = l + 1;
      return {};
    }
    p_ = l + 1;
    fallo_ = true;
    return {};
  }
  auto coincide = [&](qint64 q) {
    if (q + m - 1 > l) return false;
    const char* w = d + q - 1;
    return std::memcmp(w, final.constData(), static_cast<size_t>(m)) == 0 ||
           std::memcmp(w, finalMayus.constData(), static_cast<size_t>(m)) == 0;
  };
  for (qint64 q = desde; q <= l - 1; ++q) {
    if ((d[q - 1] == final[0] || d[q - 1] == finalMayus[0]) && coincide(q)) {
      p_ = q + 1;
      return datos_.mid(desde - 1, q - desde);
    }
  }
  p_ = l;
  return datos_.mid(desde - 1, l - 1 - desde);
}

long long valor(const QByteArray& texto) {
  constexpr long long kTope = 1'000'000'000'000LL;
  auto blanco = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  qsizetype i = 0;
  const qsizetype n = texto.size();
  auto saltar = [&] {
    while (i < n && blanco(texto[i])) ++i;
  };
  saltar();
  bool negativo = false;
  if (i < n && (texto[i] == '-' || texto[i] == '+')) {
    negativo = texto[i] == '-';
    ++i;
  }
  long long entero = 0;
  for (saltar(); i < n && texto[i] >= '0' && texto[i] <= '9'; ++i, saltar())
    entero = std::min(kTope, entero * 10 + (texto[i] - '0'));
  // Only the first decimal digits matter for rounding to an integer.
  if (i < n && texto[i] == '.') {
    ++i;
    saltar();
    int primera = -1;
    bool resto = false;
    for (; i < n && texto[i] >= '0' && texto[i] <= '9'; ++i, saltar()) {
      if (primera < 0)
        primera = texto[i] - '0';
      else if (texto[i] != '0')
        resto = true;
    }
    if (primera > 5 || (primera == 5 && (resto || entero % 2 == 1))) entero = std::min(kTope, entero + 1);
  }
  return negativo ? -entero : entero;
}

}  // namespace sortilan
