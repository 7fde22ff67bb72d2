#include "store/pena.h"

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
