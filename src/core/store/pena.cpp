#include "store/pena.h"

#include <cmath>
#include <cstring>

#include "store/codec.h"

namespace sortilan {

namespace {
constexpr int kNombre = 0;
constexpr int kApuestas = 20;
constexpr int kAciertos = 596;
constexpr int kDias = 612;
constexpr int kTipo = 627;
constexpr int kCreacion = 629;
constexpr int kUltima = 637;

template <size_t N>
void copiarTexto(std::array<char, N>& destino, const QString& texto) {
  const QByteArray b = campoTexto(texto, static_cast<int>(N));
  std::memcpy(destino.data(), b.constData(), N);
}
}  // namespace

QString Pena::nombreTexto() const {
  return desdeWindows1252(QByteArray(nombre.data(), static_cast<int>(nombre.size())));
}

QString Pena::nombreRecortado() const {
  QString s = nombreTexto();
  while (s.endsWith(QLatin1Char(' '))) s.chop(1);
  return s;
}

QString Pena::diasTexto() const { return desdeWindows1252(QByteArray(dias.data(), static_cast<int>(dias.size()))); }

void Pena::ponerNombre(const QString& texto) { copiarTexto(nombre, texto); }
void Pena::ponerDias(const QString& texto) { copiarTexto(dias, texto); }

int Pena::numerosPorApuesta() const {
  if (esSencilla()) return 5;
  return cuantos(tipo);
}

int Pena::clave() const {
  const int n = numerosPorApuesta();
  if (n == 0) return -1;
  return apuesta(n + 1, 1);
}

QByteArray Pena::codificar() const {
  QByteArray b(kTamano, '\0');
  char* d = b.data();
  std::memcpy(d + kNombre, nombre.data(), nombre.size());
  for (int f = 0; f < kFilas; ++f)
    for (int p = 0; p < kPosiciones; ++p)
      escribirInt16(d + kApuestas + 24 * f + 2 * p, apuestas[static_cast<size_t>(f)][static_cast<size_t>(p)]);
  for (int i = 0; i < 8; ++i) escribirInt16(d + kAciertos + 2 * i, aciertos[static_cast<size_t>(i)]);
  std::memcpy(d + kDias, dias.data(), dias.size());
  escribirInt16(d + kTipo, tipo);
  escribirDouble(d + kCreacion, creacion);
  escribirDouble(d + kUltima, ultimacuenta);
  return b;
}

Pena Pena::decodificar(const char* d) {
  Pena p;
  std::memcpy(p.nombre.data(), d + kNombre, p.nombre.size());
  for (int f = 0; f < kFilas; ++f)
    for (int q = 0; q < kPosiciones; ++q)
      p.apuestas[static_cast<size_t>(f)][static_cast<size_t>(q)] = leerInt16(d + kApuestas + 24 * f + 2 * q);
  for (int i = 0; i < 8; ++i) p.aciertos[static_cast<size_t>(i)] = leerInt16(d + kAciertos + 2 * i);
  std::memcpy(p.dias.data(), d + kDias, p.dias.size());
  p.tipo = leerInt16(d + kTipo);
  p.creacion = leerDouble(d + kCreacion);
  p.ultimacuenta = leerDouble(d + kUltima);
  return p;
}

namespace {

bool diaEntero(double d) {
  // Day 2958465 is 31 December 9999, the last one the date encoding can stand for.
  return std::isfinite(d) && d >= 0 && d <= 2958465 && std::floor(d) == d;
}

// Control characters and the five bytes Windows-1252 leaves undefined are not text.
bool textoWindows1252(const char* p, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const auto b = static_cast<unsigned char>(p[i]);
    if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) return false;
  }
  return true;
}

}  // namespace

bool Pena::registroSano() const {
  if (!esSencilla() && !esMultiple()) return false;
  if (!diaEntero(creacion) || !diaEntero(ultimacuenta)) return false;
  if (!textoWindows1252(nombre.data(), nombre.size())) return false;
  const int n = numerosPorApuesta();
  const int filas = esSencilla() ? tipo : 1;
  for (int f = 1; f <= filas; ++f) {
    uint64_t vistos = 0;
    for (int q = 1; q <= n; ++q) {
      const int v = apuesta(q, f);
      if (v < 1 || v > 54 || (vistos >> v & 1U)) return false;
      vistos |= uint64_t{1} << v;
    }
  }
  const int k = clave();
  return k >= 0 && k <= 9;
}

int primeraPenaDanada(const std::vector<Pena>& penas) {
  for (size_t i = 0; i < penas.size(); ++i)
    if (!penas[i].registroSano()) return static_cast<int>(i);
  return -1;
}

int cuantos(int codigo) {
  switch (codigo) {
    case 101: return 6;
    case 102: return 7;
    case 103: return 8;
    case 104: return 9;
    case 105: return 10;
    case 106: return 11;
    case 107: return 6;
    case 108: return 21;
    case 109: return 56;
    case 110: return 126;
    case 111: return 252;
    case 112: return 462;
    default: return 0;
  }
}

}  // namespace sortilan
