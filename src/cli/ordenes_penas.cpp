#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "base/fechas.h"
#include "checking/altapena.h"
#include "checking/comprobacion.h"
#include "checking/resumenpenas.h"
#include "cli/contexto.h"
#include "members/registrosocios.h"
#include "operations/penas.h"
#include "operations/sorteos.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"

namespace sortilan::cli {

namespace {

QJsonValue fechaJson(double ole) {
  const QDate d = fechaDesdeOle(ole);
  if (ole == 0 || !d.isValid()) return QJsonValue::Null;
  return d.toString(Qt::ISODate);
}

QJsonArray apuestasJson(const Pena& p) {
  QJsonArray todas;
  const int filas = p.esSencilla() ? p.tipo : (p.esMultiple() ? 1 : 0);
  for (int f = 1; f <= filas; ++f) {
    QJsonArray a;
    for (int i = 1; i <= p.numerosPorApuesta(); ++i) a.append(p.apuesta(i, f));
    todas.append(a);
  }
  return todas;
}

QJsonArray graficoJson(const DatosGrafico& g) {
  return {g.sinPremio, g.premios ? QJsonValue(*g.premios) : QJsonValue(QJsonValue::Null)};
}

void imprimirJson(Contexto& c, const QJsonDocument& d) { c.out << d.toJson(QJsonDocument::Compact) << "\n"; }

// "3 12 25 40 54" (blanks or commas) into numbers; false on anything else.
bool leerNumeros(const QString& texto, std::vector<int>& numeros) {
  const QStringList partes = texto.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
  for (const QString& t : partes) {
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok) return false;
    numeros.push_back(n);
  }
  return true;
}

QString colorTexto(std::optional<uint32_t> c) {
  return c ? QStringLiteral("#%1").arg(*c, 6, 16, QLatin1Char('0')) : QString();
}

// The rows of a list as a JSON array, each row written as it is made: a whole history
// of rows is never held as one document.
void escribirFilasJson(Contexto& c, const ListaResultados* l) {
  c.out << "[";
  for (int i = 0; l && i < l->filas(); ++i) {
    QJsonArray celdas, colores;
    for (int k = 0; k < l->columnas(); ++k) {
      celdas.append(l->texto(i, k));
      const auto color = l->color(i, k);
      colores.append(color ? QJsonValue(colorTexto(color)) : QJsonValue(QJsonValue::Null));
    }
    if (i > 0) c.out << ",";
    c.out << QJsonDocument(QJsonObject{{QStringLiteral("celdas"), celdas}, {QStringLiteral("colores"), colores}})
                 .toJson(QJsonDocument::Compact);
  }
  c.out << "]";
}

// Plain text of a list: one line per row, drawn numbers and a matching key marked "*".
void imprimirLista(Contexto& c, const QString& titulo, const ListaResultados* l) {
  c.out << titulo << "\n";
  if (!l) return;
  for (int i = 0; i < l->filas(); ++i) {
    QString linea;
    for (int k = 1; k < l->columnas() - 1; ++k) {
      QString t = l->texto(i, k);
      if (l->color(i, k)) t += QLatin1Char('*');
      linea += t.rightJustified(4);
    }
    linea += QStringLiteral("  ") + l->texto(i, l->columnas() - 1);
    while (linea.endsWith(QLatin1Char(' '))) linea.chop(1);
    c.out << linea << "\n";
  }
}

int penasBorradas(Contexto& c, bool json) {
  if (!c.leer()) return kRechazo;
  std::vector<ResumenBorrada> borradas;
  if (const Resultado r = leerPenasBorradas(c.carpeta, c.sesion.almacen().sorteos().leerTodos(), borradas); !r)
    return rechazo(c, r);
  if (json) {
    QJsonArray todas;
    for (const ResumenBorrada& b : borradas)
      todas.append(QJsonObject{{QStringLiteral("id"), b.pena.codigo()},
                               {QStringLiteral("nombre"), b.pena.nombre},
                               {QStringLiteral("borrada"), b.pena.borrada.toString(Qt::ISODate)},
                               {QStringLiteral("socios"), b.socios},
                               {QStringLiteral("saldo_centimos"), b.saldo}});
    imprimirJson(c, QJsonDocument(todas));
    return kBien;
  }
  if (borradas.empty()) c.out << "No hay peñas borradas con socios ni cuentas.\n";
  for (const ResumenBorrada& b : borradas)
    c.out << b.pena.codigo() << ". " << b.pena.nombre << "  borrada el " << fechaCorta(b.pena.borrada) << "  "
          << b.socios << (b.socios == 1 ? " socio" : " socios") << "  saldo: " << textoSaldo(b.saldo) << "\n";
  return kBien;
}

}  // namespace

int ordenPenas(Contexto& c, QStringList args) {
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  const bool borradas = Contexto::tomarOpcion(args, QStringLiteral("--borradas"));
  if (!args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli penas [--borradas] [--json]"));
  if (borradas) return penasBorradas(c, json);
  if (!c.leer()) return kRechazo;
  const std::vector<Pena>& penas = c.sesion.penas();
  if (json) {
    QJsonArray todas;
    for (size_t i = 0; i < penas.size(); ++i) {
      const Pena& p = penas[i];
      QJsonArray aciertos;
      for (int16_t a : p.aciertos) aciertos.append(a);
      const int clave = p.clave();
      todas.append(QJsonObject{{QStringLiteral("registro"), static_cast<int>(i) + 1},
                               {QStringLiteral("nombre"), p.nombreRecortado()},
                               {QStringLiteral("tipo"), p.tipo},
                               {QStringLiteral("apuestas"), apuestasJson(p)},
                               {QStringLiteral("clave"), clave < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(clave)},
                               {QStringLiteral("aciertos"), aciertos},
                               {QStringLiteral("creacion"), fechaJson(p.creacion)},
                               {QStringLiteral("ultimacuenta"), fechaJson(p.ultimacuenta)},
                               {QStringLiteral("dias"), p.diasTexto().trimmed()}});
    }
    imprimirJson(c, QJsonDocument(todas));
    return kBien;
  }
  if (penas.empty()) c.out << textoVacio() << "\n";
  for (size_t i = 0; i < penas.size(); ++i) {
    const Pena& p = penas[i];
    c.out << QStringLiteral("%1. %2  %3 apuestas  %4  %5")
                 .arg(i + 1)
                 .arg(p.nombreTexto(), QString::number(apuestasSencillas(p)).rightJustified(3), fechaCorta(p.creacion),
                      p.diasTexto().trimmed())
          << "\n";
  }
  return kBien;
}

int ordenCrear(Contexto& c, QStringList args) {
  const QString uso = QStringLiteral(
      "Uso: sortilan-cli crear --nombre NOMBRE --clave K (--apuesta \"N N N N N\")... | --multiple \"N N N N N N[ "
      "...]\"");
  bool falta = false;
  PenaNueva nueva;
  nueva.nombre = Contexto::tomarValor(args, QStringLiteral("--nombre"), &falta);
  const QString clave = Contexto::tomarValor(args, QStringLiteral("--clave"), &falta);
  for (const QString& opcion : {QStringLiteral("--apuesta"), QStringLiteral("--multiple")}) {
    while (args.contains(opcion)) {
      const QString texto = Contexto::tomarValor(args, opcion, &falta);
      if (falta) break;
      std::vector<int> numeros;
      if (!leerNumeros(texto, numeros)) {
        c.err << "«" << texto << "» no son números de una apuesta.\n";
        return kRechazo;
      }
      (opcion == QStringLiteral("--apuesta") ? nueva.sencillas : nueva.multiples).push_back(numeros);
    }
  }
  if (falta || !args.isEmpty() || clave.isEmpty()) return c.uso(uso);
  bool claveOk = false;
  nueva.clave = clave.toInt(&claveOk);
  if (!claveOk) nueva.clave = -1;

  const auto error = [](const QString& texto) {
    plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("Error"), texto);
    return kRechazo;
  };
  if (Resultado r = validarPenaNueva(nueva); !r) return error(r.error);
  c.cargar();
  const Pena registro = registroPenaNueva(nueva, plataforma::hoy());
  const operaciones::Alta alta = operaciones::crearPena(c.sesion.almacen(), registro, plataforma::hoy());
  if (!alta.resultado) return alta.resultado.permiso ? informar(c, alta.resultado) : error(alta.resultado.error);
  c.out << "Peña " << registro.nombreRecortado() << " creada en el registro " << alta.registro << ".\n";
  return kBien;
}

int ordenBorrarPena(Contexto& c, QStringList args) {
  const bool si = Contexto::tomarOpcion(args, QStringLiteral("--si"));
  if (borradaRechazada(c, args)) return kRechazo;
  bool ok = false;
  const int k = args.size() == 1 ? args.first().toInt(&ok) : 0;
  if (!ok) return c.uso(QStringLiteral("Uso: sortilan-cli borrar-pena K --si"));
  c.cargar();
  const std::vector<Pena>& penas = c.sesion.penas();
  if (k < 1 || k > static_cast<int>(penas.size())) {
    c.err << "No hay ninguna peña en el registro " << k << ".\n";
    return kRechazo;
  }
  const Pena pena = penas[static_cast<size_t>(k - 1)];
  const operaciones::ConservaPena conserva = operaciones::conservaPena(c.carpeta, penas, k);
  const QString pregunta = operaciones::preguntaBorrarPena(pena, conserva);
  if (!si) {
    plataforma::mensaje(plataforma::Icono::Pregunta, QStringLiteral("Borrar..."), pregunta, plataforma::Botones::SiNo);
    c.err << "No se ha borrado nada: confirme con --si.\n";
    return kRechazo;
  }
  operaciones::PenaConservada borrada;
  if (Resultado r = operaciones::borrarPena(c.sesion.almacen(), k, pena, plataforma::hoy(), &borrada); !r)
    return informar(c, r);
  c.out << "Peña " << pena.nombreRecortado() << " eliminada.\n";
  // What was kept as the change found it: another program may have added to it meanwhile.
  if (borrada.numero > 0)
    c.out << operaciones::lineaConservaPena(borrada.conserva) << " Se consulta como peña borrada B" << borrada.numero
          << ".\n";
  return kBien;
}

int ordenComprobar(Contexto& c, QStringList args) {
  const QString uso =
      QStringLiteral("Uso: sortilan-cli comprobar [--sorteos N] [--historico] [--solo-premios] [--json]");
  Casillas casillas;
  casillas.historico = Contexto::tomarOpcion(args, QStringLiteral("--historico"));
  casillas.soloPremios = Contexto::tomarOpcion(args, QStringLiteral("--solo-premios"));
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  bool falta = false;
  const QString texto = Contexto::tomarValor(args, QStringLiteral("--sorteos"), &falta);
  int n = 1;
  if (!texto.isEmpty()) {
    bool ok = false;
    n = texto.toInt(&ok);
    if (!ok || n < 1) return c.uso(uso);
  }
  if (falta || !args.isEmpty()) return c.uso(uso);
  c.apartaDanados = true;
  c.cargar();
  if (c.sesion.penasDanadas()) {
    const operaciones::Apartado a = operaciones::apartarPenasDanadas(c.sesion.almacen());
    if (!a.resultado) return informar(c, a.resultado);
    if (a.apartado)
      plataforma::mensaje(
          plataforma::Icono::Exclamacion, QStringLiteral("¡Vaya hombre!"),
          QString::fromUtf8(kPenasCorruptas) + QStringLiteral(" Se ha apartado como %1.").arg(a.archivo));
    c.cargar();
  }
  // The draws are validated before any peña is checked against them, as the window
  // does: prizes counted from a damaged file would outlive the file.
  if (c.sesion.listasorteos().danado) {
    const operaciones::Apartado a = operaciones::apartarSorteosDanados(c.sesion.almacen());
    if (a.danado) plataforma::mensaje(plataforma::Icono::Exclamacion, operaciones::kTituloDanado, operaciones::kDanado);
    if (!a.resultado) return informar(c, a.resultado);
    c.cargar();
  }
  // Every draw not yet counted is counted, whatever range is shown.
  // A count that was not kept leaves counters the lists would show as if it had been.
  if (const Resultado contado = operaciones::contarPremios(c.sesion.almacen()); !contado) return informar(c, contado);
  AvisoPremio aviso;
  const ResultadoComprobacion r = compruebapenas(c.sesion.almacen(), n, casillas, aviso);
  if (json) {
    // The keys in the order a JSON object of this program lists them.
    c.out << "{\"multiples\":";
    escribirFilasJson(c, r.multiples.get());
    c.out << ",\"sencillas\":";
    escribirFilasJson(c, r.sencillas.get());
    c.out << "}\n";
  } else {
    imprimirLista(c, QStringLiteral("S E N C I L L A"), r.sencillas.get());
    imprimirLista(c, QStringLiteral("M Ú L T I P L E"), r.multiples.get());
  }
  return kBien;
}

int ordenResumen(Contexto& c, QStringList args) {
  const bool json = Contexto::tomarOpcion(args, QStringLiteral("--json"));
  if (!args.isEmpty()) return c.uso(QStringLiteral("Uso: sortilan-cli resumen [--json]"));
  if (!c.leer()) return kRechazo;
  const std::vector<Pena>& penas = c.sesion.penas();
  const std::vector<Sorteo> sorteos = c.sesion.almacen().sorteos().leerTodos();
  const ResumenPenas total = resumen(penas, c.sesion.sorteosjugados);
  QJsonArray lista;
  for (size_t i = 0; i < penas.size(); ++i) {
    const DetallePena d = detallepena(&penas[i], sorteos);
    if (d.corrupta) plataforma::mensaje(plataforma::Icono::Exclamacion, tituloPenaCorrupta(), textoPenaCorrupta());
    QJsonArray premios;
    for (const QString& p : d.premios) premios.append(d.corrupta ? QJsonValue(QJsonValue::Null) : QJsonValue(p));
    const auto textoONulo = [&](const QString& t) { return d.corrupta ? QJsonValue(QJsonValue::Null) : QJsonValue(t); };
    lista.append(QJsonObject{
        {QStringLiteral("registro"), static_cast<int>(i) + 1},
        {QStringLiteral("nombre"), penas[i].nombreRecortado()},
        {QStringLiteral("apuestas"), total.filas[i].apuestas},
        {QStringLiteral("premios"), premios},
        {QStringLiteral("participados"), textoONulo(d.participados)},
        {QStringLiteral("efectividad"), textoONulo(d.efectividad)},
        {QStringLiteral("grafico"), d.corrupta ? QJsonValue(QJsonValue::Null) : QJsonValue(graficoJson(d.grafico))}});
    if (!json) {
      c.out << (i + 1) << ". " << penas[i].nombreTexto() << "  " << total.filas[i].apuestas << " apuestas\n";
      if (d.corrupta) continue;
      for (int k = 7; k >= 0; --k)
        c.out << "   -Aciertos de " << (8 - k) << "ª categoría: " << d.premios[static_cast<size_t>(k)] << "\n";
      c.out << "   participados: " << d.participados << "   efectividad: " << d.efectividad << "\n";
    }
  }
  if (json) {
    imprimirJson(c, QJsonDocument(QJsonObject{{QStringLiteral("penas"), lista},
                                              {QStringLiteral("penas_registradas"), total.penasRegistradas},
                                              {QStringLiteral("suma_aciertos"), total.sumaAciertos},
                                              {QStringLiteral("efectividad"), total.efectividad},
                                              {QStringLiteral("sorteos"), total.sorteos},
                                              {QStringLiteral("grafico"), graficoJson(total.grafico)}}));
  } else {
    if (total.vacio) c.out << textoVacio() << "\n";
    c.out << "- Peñas registradas a comprobar: " << total.penasRegistradas << "\n";
    c.out << "Suma aciertos peñas: " << total.sumaAciertos << "\n"
          << total.efectividad << "\n"
          << total.sorteos << "\n";
  }
  return kBien;
}

}  // namespace sortilan::cli
