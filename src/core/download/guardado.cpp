#include "download/guardado.h"

#include <algorithm>

#include "answer/analisis.h"
#include "answer/reglas.h"
#include "base/fechas.h"

namespace sortilan {

const QString kTituloAMano = QStringLiteral("Añadir sorteo a mano");
const QString kTituloCsv = QStringLiteral("Importar sorteos de un archivo CSV");

QString motivoNuevos(const Sorteo& ultimo, const std::vector<Sorteo>& nuevos, const QDate& hoy) {
  double anterior = ultimo.fecha;
  for (const Sorteo& s : nuevos) {
    const QDate fecha = fechaDesdeOle(s.fecha);
    QString motivo =
        s.fecha <= anterior ? QStringLiteral("no es posterior al sorteo anterior") : motivoFecha(fecha, hoy);
    if (motivo.isEmpty()) motivo = motivoDia(fecha);
    if (motivo.isEmpty()) motivo = motivoCombinacion(s);
    if (!motivo.isEmpty())
      return QStringLiteral("El sorteo del %1 no se ha guardado: %2.").arg(fechaLarga(s.fecha), motivo);
    anterior = s.fecha;
  }
  return {};
}

QString motivoSorteoAMano(Almacen& almacen, const SorteoAMano& s, const QDate& hoy, int* faltan) {
  if (faltan) *faltan = 0;
  const auto no = [](const QString& motivo) { return QStringLiteral("No se puede añadir el sorteo: %1.").arg(motivo); };
  QString motivo = motivoFecha(s.fecha, hoy);
  if (motivo.isEmpty()) motivo = motivoDia(s.fecha);
  if (!motivo.isEmpty()) return no(motivo);
  const Sorteo ultimo = almacen.sorteos().ultimo();
  if (ultimo.fecha != 0 && oleDesdeFecha(s.fecha) <= ultimo.fecha)
    return no(QStringLiteral("el último sorteo guardado es del %1 y el nuevo tiene que ser posterior")
                  .arg(fechaLarga(ultimo.fecha)));
  Sorteo r;
  for (size_t i = 0; i < 5; ++i) r.numeros[i] = static_cast<int16_t>(std::clamp(s.numeros[i], -1, 99));
  r.numeros[5] = static_cast<int16_t>(std::clamp(s.clave, -1, 99));
  motivo = motivoCombinacion(r);
  if (!motivo.isEmpty()) return no(motivo);
  if (faltan && ultimo.fecha != 0) *faltan = sorteosEntre(fechaDesdeOle(ultimo.fecha), s.fecha);
  return {};
}

Sorteo sorteoDe(const SorteoAMano& s) {
  Sorteo r;
  for (size_t i = 0; i < 5; ++i) r.numeros[i] = static_cast<int16_t>(s.numeros[i]);
  r.numeros[5] = static_cast<int16_t>(s.clave);
  r.fecha = oleDesdeFecha(s.fecha);
  ordena(r);
  return r;
}

bool dejaHueco(double ultimaFecha, double primeraNueva) { return ultimaFecha > 0 && primeraNueva - ultimaFecha > 8; }

QString preguntaHuecoRespuesta(double ultimaFecha, double primeraNueva) {
  return QStringLiteral(
             "Faltan los sorteos entre el %1 y el %2: las descargas ya no los traerán. ¿Quiere guardar "
             "los nuevos de todos modos?")
      .arg(fechaCorta(ultimaFecha), fechaCorta(primeraNueva));
}

QString preguntaHueco(double ultimaFecha, const QDate& primero, int faltan) {
  return QStringLiteral(
             "Faltan los sorteos entre el %1 y el %2: entre el último sorteo guardado (%3) y el del %4 faltan %5. "
             "Si sigue, las descargas ya no traerán los que faltan; conviene añadirlos antes, del más antiguo al "
             "más reciente. ¿Quiere seguir de todos modos?")
      .arg(fechaCorta(ultimaFecha), primero.toString(QStringLiteral("dd/MM/yyyy")), fechaLarga(ultimaFecha),
           fechaLarga(oleDesdeFecha(primero)),
           faltan == 1 ? QStringLiteral("1 sorteo") : QStringLiteral("%1 sorteos").arg(faltan));
}

}  // namespace sortilan
