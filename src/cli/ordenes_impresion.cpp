#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/contexto.h"
#include "painters/pintor.h"
#include "printing/impresion.h"
#include "stats/tablasgrafico.h"

namespace sortilan::cli {

namespace {
QJsonArray aJson(const std::vector<int>& v) {
  QJsonArray a;
  for (int n : v) a.append(n);
  return a;
}
}  // namespace

int ordenImprimir(Contexto& c, QStringList args) {
  const QString uso = QStringLiteral("Uso: sortilan-cli imprimir K --papel oficial|normal --pdf ARCHIVO");
  bool falta = false;
  const QString papel = Contexto::tomarValor(args, QStringLiteral("--papel"), &falta);
  const QString pdf = Contexto::tomarValor(args, QStringLiteral("--pdf"), &falta);
  if (borradaRechazada(c, args)) return kRechazo;
  bool numero = false;
  const int k = args.size() == 1 ? args.first().toInt(&numero) : 0;
  if (falta || !numero || k < 1 || pdf.isEmpty() ||
      (papel != QLatin1String("oficial") && papel != QLatin1String("normal")))
    return c.uso(uso);

  if (!c.leer()) return kRechazo;
  Almacen& a = c.sesion.almacen();
  Pena pena;
  if (!a.penas().leer(k, pena)) {
    c.err << "No existe la peña " << k << ".\n";
    return kRechazo;
  }
  const Calibracion cal = a.ajustes().leerOCero(1);
  const Impresion impresion =
      imprimeboletos(pena, papel == QLatin1String("oficial") ? Papel::Oficial : Papel::Normal, cal);
  if (impresion.paginas.empty()) {
    c.err << "La peña " << k << " no tiene apuestas que imprimir.\n";
    return kRechazo;
  }
  if (!ui::escribirPdf(impresion, pdf, QStringLiteral("PEÑA ") + pena.nombreTexto().trimmed())) {
    c.err << "No se pudo escribir " << pdf << ".\n";
    return kRechazo;
  }
  const int boletos = nboletos(pena);
  const auto paginas = impresion.paginas.size();
  c.out << "PEÑA " << pena.nombreTexto().trimmed() << ": " << boletos << (boletos == 1 ? " boleto" : " boletos")
        << " en " << paginas << (paginas == 1 ? " página" : " páginas") << " (" << pdf << ").\n";
  return kBien;
}

int ordenEstadisticas(Contexto& c, QStringList args) {
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  if (!args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli estadisticas [--json]"));
  if (!c.leer()) return kRechazo;
  const ListaSorteos lista = c.sesion.listasorteos();
  if (lista.danado) return c.sorteosDanados();
  const Frecuencias& f = lista.frecuencias;
  const std::vector<int> bajos = cuentas(graficobajos(f));
  const std::vector<int> altos = cuentas(graficoaltos(f));
  const std::vector<int> clave = cuentas(graficoclave(f));
  if (json) {
    const QJsonObject o{{QStringLiteral("bajos"), aJson(bajos)},
                        {QStringLiteral("altos"), aJson(altos)},
                        {QStringLiteral("clave"), aJson(clave)}};
    c.out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
  } else {
    c.out << "Números:\n";
    for (int n = 1; n <= 54; ++n) {
      const int cuenta = n <= 27 ? bajos[static_cast<size_t>(n - 1)] : altos[static_cast<size_t>(n - 28)];
      c.out << QString::number(n).rightJustified(2) << ": " << QString::number(cuenta).rightJustified(4)
            << (n % 9 == 0 ? "\n" : "   ");
    }
    c.out << "Clave:\n";
    for (int k = 0; k <= 9; ++k)
      c.out << k << ": " << QString::number(clave[static_cast<size_t>(k)]).rightJustified(4) << (k == 9 ? "\n" : "   ");
    c.out << lista.total() << "\n";
  }
  return kBien;
}

}  // namespace sortilan::cli
