// libFuzzer target: an untrusted answer through the parse, the buffer record and the
// prize report. Any crash, out-of-bounds read, accepted draw outside the valid ranges
// or draw kept past a bad one is a finding.
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <cstdlib>

#include "answer/analisis.h"
#include "answer/buscador.h"
#include "base/fechas.h"
#include "report/escrutinio.h"

using namespace sortilan;

namespace {
const QDate kHoy(2021, 3, 10);

void comprobar(const Analisis& a, double ultima) {
  double anterior = ultima;
  for (const Sorteo& s : a.nuevos) {
    for (int i = 1; i <= 5; ++i) {
      const int n = s.numero(i);
      if (n < 1 || n > 54) std::abort();
      if (i > 1 && n <= s.numero(i - 1)) std::abort();  // sorted, no repeats
    }
    if (s.clave() < 0 || s.clave() > 9) std::abort();
    // Oldest first, each date once, all new and none after today: appended as they are
    // they keep the file in order.
    if (!(s.fecha > anterior) || s.fecha > oleDesdeFecha(kHoy)) std::abort();
    anterior = s.fecha;
  }
  if (a.estado == Analisis::Estado::Ilegible && !a.nuevos.empty()) std::abort();
  // Nothing at or after a bad draw is stored; a bad draw without a date stops all.
  if (a.estado == Analisis::Estado::SorteoMalo) {
    if (!a.fechaMala.isValid()) std::abort();
    if (!a.nuevos.empty() && a.nuevos.back().fecha >= oleDesdeFecha(a.fechaMala)) std::abort();
  }
}

// busca as first written, one window read at a time: the oracle for the fast scan.
struct Referencia {
  const QByteArray& d;
  qint64 p = 1;
  bool finbusca = false, fallo = false;
  bool leer(qint64 q, qint64 n, QByteArray& w) const {
    if (q < 1 || q > d.size()) return false;
    w = d.mid(q - 1, n);
    return true;
  }
  QByteArray busca(const QByteArray& empieza, const QByteArray& final) {
    finbusca = false;
    if (fallo) return {};
    const QByteArray e = mayusculas1252(empieza);
    const qint64 n = e.size(), m = final.size(), l = d.size();
    QByteArray w;
    if (n > 0) {
      for (;;) {
        if (!leer(p, n, w)) {
          fallo = true;
          return {};
        }
        ++p;
        if (p + n - 1 > l) {
          finbusca = true;
          return {};
        }
        if (w.size() == n && mayusculas1252(w) == e) {
          p = p - 1 + n;
          break;
        }
      }
    }
    QByteArray r;
    if (m == 0) return r;
    for (;;) {
      if (!leer(p, m, w)) {
        fallo = true;
        return {};
      }
      ++p;
      if (w.size() == m && (w == final || w == mayusculas1252(final))) break;
      if (p == l) break;
      r.append(w[0]);
    }
    return r;
  }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QByteArray entrada(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
  static const QUrl operador(QStringLiteral("https://operador.example"));

  comprobar(analizar(entrada, 0, kHoy), 0);
  const double octubre = oleDesdeFecha(QDate(2020, 10, 4));
  comprobar(analizar(entrada, octubre, kHoy), octubre);

  // As the download stores it for the prize report: decoded as UTF-8, then the quoted record.
  const QByteArray buffer = registroCitado(QString::fromUtf8(entrada));
  const Escrutinio e = escrutinio(buffer, octubre, operador);
  if (!e.documento.isEmpty() && e.documento.host() != operador.host()) std::abort();
  // The raw bytes as a buffer file written by hand.
  escrutinio(entrada, 0, operador);

  // busca on its own, with its texts taken from the input, against the oracle.
  if (largo > 4) {
    // The oracle allocates per window: a prefix keeps the runs fast.
    const QByteArray trozo = entrada.left(4096);
    Buscador b(trozo);
    Referencia r{trozo};
    const QByteArray empieza = trozo.left(datos[0] % 4);
    const QByteArray final = trozo.mid(1, datos[1] % 5);
    const qint64 desde = datos[2] % 7 - 1;
    b.ponerPosicion(desde);
    r.p = desde;
    for (int i = 0; i < 8; ++i) {
      const QByteArray x = b.busca(empieza, final);
      const QByteArray y = r.busca(empieza, final);
      if (x != y || b.posicion() != r.p || b.finbusca() != r.finbusca || b.fallo() != r.fallo) std::abort();
      const int paso = datos[3] % 3 - 1;
      b.mover(paso);
      r.p += paso;
    }
  }
  valor(entrada.left(64));
  return 0;
}
