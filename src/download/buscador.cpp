#include "download/buscador.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace sortilan {

namespace {
std::array<char, 256> tablaMayusculas() {
  std::array<char, 256> t{};
  for (int i = 0; i < 256; ++i) {
    int u = i;
    if ((i >= 'a' && i <= 'z') || (i >= 0xE0 && i <= 0xFE && i != 0xF7)) u = i - 0x20;
    else if (i == 0x9A || i == 0x9C || i == 0x9E) u = i - 0x10;  // š œ ž
    else if (i == 0xFF) u = 0x9F;                                 // ÿ
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

bool Buscador::leer(qint64 p, qint64 n, const char*& w, qint64& leidos) {
  const qint64 l = largo();
  if (p < 1 || p > l) return false;
  w = datos_.constData() + (p - 1);
  leidos = std::min(n, l - p + 1);
  return true;
}

QByteArray Buscador::busca(const QByteArray& empieza, const QByteArray& final) {
  finbusca_ = false;
  if (fallo_) return {};
  const QByteArray e = mayusculas1252(empieza);
  const qint64 n = e.size();
  const qint64 m = final.size();
  const qint64 l = largo();
  const char* w = nullptr;
  qint64 leidos = 0;

  // The window slides one byte at a time; a match ending on the last byte is not
  // seen, which the end-of-buffer rules of the callers take into account.
  if (n > 0) {
    for (;;) {
      if (!leer(p_, n, w, leidos)) {
        fallo_ = true;
        return {};
      }
      ++p_;
      if (p_ + n - 1 > l) {
        finbusca_ = true;
        return {};
      }
      if (leidos == n && igualEnMayusculas(w, e)) {
        p_ = p_ - 1 + n;
        break;
      }
    }
  }

  QByteArray resultado;
  if (m == 0) return resultado;
  const QByteArray finalMayus = mayusculas1252(final);
  for (;;) {
    if (!leer(p_, m, w, leidos)) {
      fallo_ = true;
      return {};
    }
    ++p_;
    if (leidos == m && (std::memcmp(w, final.constData(), static_cast<size_t>(m)) == 0 ||
                        std::memcmp(w, finalMayus.constData(), static_cast<size_t>(m)) == 0))
      break;
    if (p_ == l) break;
    resultado.append(w[0]);
  }
  return resultado;
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
      if (primera < 0) primera = texto[i] - '0';
      else if (texto[i] != '0') resto = true;
    }
    if (primera > 5 || (primera == 5 && (resto || entero % 2 == 1))) entero = std::min(kTope, entero + 1);
  }
  return negativo ? -entero : entero;
}

}  // namespace sortilan
