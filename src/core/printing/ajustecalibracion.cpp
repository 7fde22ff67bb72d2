#include "printing/ajustecalibracion.h"

#include <QLocale>
#include <cmath>

#include "platform/plataforma.h"

namespace sortilan {

namespace {
QLocale espanol() {
  QLocale l(QLocale::Spanish, QLocale::Spain);
  // "1.5" must not silently read as fifteen hundred: no thousands separators either way.
  l.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
  return l;
}
}  // namespace

QString textoCoordenada(float v) {
  // Seven significant digits is what a float holds; more would show 0,1 as 0,100000001.
  return espanol().toString(static_cast<double>(v), 'g', 7);
}

std::optional<float> leerCoordenada(const QString& texto, bool* incompleto) {
  if (incompleto) *incompleto = false;
  const QString t = texto.trimmed();
  const QLocale l = espanol();
  bool ok = false;
  float v = l.toFloat(t, &ok);
  if (!ok && t.endsWith(l.decimalPoint())) v = l.toFloat(t.chopped(1), &ok);
  if (ok && std::isfinite(v)) return v;
  if (incompleto && (t == QLatin1String("-") || t == QLatin1String(",") || t == QLatin1String("-,")))
    *incompleto = true;
  return std::nullopt;
}

AjusteCalibracion::AjusteCalibracion(const ArchivoDe<Calibracion>& archivo, Guardar guardar)
    : guardar_(std::move(guardar)), valor_(archivo.leerOCero(1)) {}

QString AjusteCalibracion::texto(int e) const { return textoCoordenada(e == 0 ? valor_.x : valor_.y); }

bool AjusteCalibracion::cambiar(int e, const QString& texto) {
  bool incompleto = false;
  const std::optional<float> v = leerCoordenada(texto, &incompleto);
  if (v) (e == 0 ? valor_.x : valor_.y) = *v;
  escritura_ = guardar_(valor_);
  return !v && !incompleto && !texto.isEmpty();
}

void AjusteCalibracion::perderFoco(int, const QString& texto) const {
  if (texto.isEmpty())
    plataforma::mensaje(plataforma::Icono::Critico, QStringLiteral("EHEHEHH"),
                        QStringLiteral("Te has dejado una coordenada en blanco. Introduce un número válido."));
}

}  // namespace sortilan
