// libFuzzer target: an untrusted answer through the buffer record, the parse and
// the prize report. Any crash, out-of-bounds read or accepted draw outside the
// valid ranges is a finding.
#include "download/analisis.h"
#include "download/buscador.h"
#include "report/escrutinio.h"
#include "store/fechas.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <cstdlib>

using namespace sortilan;

namespace {
void comprobar(const Analisis& a) {
  if (a.sorteos.size() > 50) std::abort();
  for (const Sorteo& s : a.sorteos) {
    uint64_t vistos = 0;
    for (int i = 1; i <= 5; ++i) {
      const int n = s.numero(i);
      if (n < 1 || n > 54) std::abort();
      if (i > 1 && n <= s.numero(i - 1)) std::abort();  // sorted, no repeats
      vistos |= uint64_t{1} << n;
    }
    if (s.clave() < 0 || s.clave() > 9) std::abort();
    if (s.fecha <= 0) std::abort();
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QByteArray entrada(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
  static const QUrl operador(QStringLiteral("https://operador.example"));

  // As the download stores it: decoded as UTF-8, then the quoted record.
  const QByteArray buffer = registroCitado(QString::fromUtf8(entrada));
  Sorteo vacio;
  comprobar(analizar(buffer, vacio));
  Sorteo ultimo;
  ultimo.fecha = oleDesdeFecha(QDate(2020, 10, 4));
  comprobar(analizar(buffer, ultimo));
  const Escrutinio e = escrutinio(buffer, ultimo.fecha, operador);
  if (!e.documento.isEmpty() && e.documento.host() != operador.host()) std::abort();

  // The raw bytes as a buffer file written by hand.
  comprobar(analizar(entrada, vacio));
  escrutinio(entrada, 0, operador);

  // busca on its own, with its texts taken from the input.
  if (largo > 4) {
    Buscador b(entrada);
    const QByteArray empieza = entrada.left(1 + datos[0] % 3);
    const QByteArray final = entrada.mid(1, 1 + datos[1] % 4);
    for (int i = 0; i < 8 && !b.fallo(); ++i) {
      b.busca(empieza, final);
      b.mover(datos[2] % 3 - 1);
    }
  }
  valor(entrada.left(64));
  return 0;
}
