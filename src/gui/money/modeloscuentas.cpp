#include "gui/money/modeloscuentas.h"

#include <QColor>

#include "gui/ui/tablaordenable.h"

namespace sortilan::ui {

namespace {

QString importe(const std::optional<Centimos>& c) { return c ? textoImporte(*c) : QStringLiteral("importe pendiente"); }

// An amount not known yet sorts as no value, before every known one.
QVariant valor(const std::optional<Centimos>& c) { return c ? QVariant::fromValue(*c) : QVariant(); }

// What is known "+ pendiente", or only "pendiente" while nothing is known: never "0,00".
QString conPendiente(Centimos conocido, bool pendiente) {
  if (!pendiente) return textoImporte(conocido);
  return conocido == 0 ? QStringLiteral("pendiente") : textoImporte(conocido) + QStringLiteral(" + pendiente");
}

QVariant alineacion(bool numero) {
  return QVariant::fromValue((numero ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

QVariant cabecera(const char* const* textos, int n, int seccion, Qt::Orientation o, int rol) {
  if (o == Qt::Horizontal && rol == Qt::DisplayRole && seccion >= 0 && seccion < n)
    return QString::fromUtf8(textos[seccion]);
  return {};
}

}  // namespace

void ModeloCuentasPenas::poner(const Cuentas& cuentas) {
  beginResetModel();
  filas_.clear();
  for (const CuentaPena& p : cuentas.penas) {
    const sortilan::PorCobrar pc = cuentas.porCobrar(p.registro);
    const Centimos g = cuentas.ganado(p.registro);
    const QString ganado = conPendiente(g, cuentas.premiosSinImporte(p.registro) > 0);
    const sortilan::Caducado perdido = cuentas.caducado(p.registro);
    QString caducado = textoImporte(perdido.importe);
    if (perdido.sinImporte > 0) caducado += QStringLiteral(" + sin importe");
    const QString cobrar = conPendiente(pc.neto, pc.pendiente);
    filas_.push_back(
        {p.registro,
         {p.nombre, QString::number(p.sorteos.size()), textoImporte(p.coste()), ganado, caducado,
          textoImporte(g - p.coste()), cobrar},
         {QVariant(), static_cast<int>(p.sorteos.size()), QVariant::fromValue(p.coste()), QVariant::fromValue(g),
          QVariant::fromValue(perdido.importe), QVariant::fromValue(g - p.coste()), QVariant::fromValue(pc.neto)}});
  }
  endResetModel();
}

int ModeloCuentasPenas::registro(int fila) const {
  return fila >= 0 && fila < rowCount() ? filas_[static_cast<size_t>(fila)].registro : 0;
}

int ModeloCuentasPenas::fila(int registro) const {
  for (size_t i = 0; i < filas_.size(); ++i)
    if (filas_[i].registro == registro) return static_cast<int>(i);
  return -1;
}

int ModeloCuentasPenas::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloCuentasPenas::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : kColumnas; }

QVariant ModeloCuentasPenas::data(const QModelIndex& i, int rol) const {
  if (!i.isValid()) return {};
  if (rol == Qt::TextAlignmentRole) return alineacion(i.column() != Pena);
  if (rol == kRolOrden) return filas_[static_cast<size_t>(i.row())].valores.value(i.column());
  if (rol != Qt::DisplayRole) return {};
  return filas_[static_cast<size_t>(i.row())].textos.value(i.column());
}

QVariant ModeloCuentasPenas::headerData(int seccion, Qt::Orientation o, int rol) const {
  static const char* const kCabeceras[] = {"Peña",       "Sorteos", "Coste €",     "Ganado €",
                                           "Caducado €", "Neto €",  "Por cobrar €"};
  const QVariant v = cabecera(kCabeceras, kColumnas, seccion, o, rol);
  return v.isValid() ? v : QAbstractTableModel::headerData(seccion, o, rol);
}

void ModeloCuentasSorteos::poner(const Cuentas& cuentas, const CuentaPena* pena) {
  beginResetModel();
  filas_.clear();
  if (pena) {
    for (auto s = pena->sorteos.rbegin(); s != pena->sorteos.rend(); ++s) {
      Fila f{s->fecha, std::nullopt, {}, {}};
      if (const sortilan::Cobro* c = cuentas.cobro(pena->registro, s->fecha)) f.cobro = *c;
      // A lost prize is shown apart, never as money won.
      const bool perdido = f.cobro && f.cobro->estado == EstadoCobro::Caducado;
      const QString premio = s->hayPremio() ? importe(s->ganado()) : QString();
      f.textos << s->fecha.toString(QStringLiteral("dd/MM/yyyy")) << QString::number(s->apuestas)
               << textoImporte(s->coste) << textoPremios(*s) << (perdido ? QString() : premio)
               << (perdido ? premio : QString());
      if (f.cobro)
        f.textos << importe(f.cobro->neto) << (f.cobro->lugar ? textoLugar(*f.cobro->lugar) : QString())
                 << textoCobro(*f.cobro);
      const QVariant cero = QVariant::fromValue(Centimos{0});
      const QVariant ganado = s->hayPremio() ? valor(s->ganado()) : cero;
      f.valores << s->fecha << s->apuestas << QVariant::fromValue(s->coste) << QVariant() << (perdido ? cero : ganado)
                << (perdido ? ganado : cero) << (f.cobro ? valor(f.cobro->neto) : cero);
      filas_.push_back(std::move(f));
    }
  }
  endResetModel();
}

QDate ModeloCuentasSorteos::fecha(int fila) const {
  return fila >= 0 && fila < rowCount() ? filas_[static_cast<size_t>(fila)].fecha : QDate();
}

const sortilan::Cobro* ModeloCuentasSorteos::cobro(int fila) const {
  if (fila < 0 || fila >= rowCount()) return nullptr;
  const auto& c = filas_[static_cast<size_t>(fila)].cobro;
  return c ? &*c : nullptr;
}

int ModeloCuentasSorteos::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloCuentasSorteos::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : kColumnas; }

QVariant ModeloCuentasSorteos::data(const QModelIndex& i, int rol) const {
  if (!i.isValid()) return {};
  const Fila& f = filas_[static_cast<size_t>(i.row())];
  if (rol == Qt::TextAlignmentRole)
    return alineacion(i.column() == Apuestas || i.column() == Coste || i.column() == Ganado || i.column() == Caducado ||
                      i.column() == Neto);
  if (rol == Qt::ForegroundRole && i.column() == Cobro && f.cobro) {
    // What still needs doing stands out: red when it expired, orange while it waits.
    if (f.cobro->estado == EstadoCobro::Caducado) return QColor(0xC0, 0x00, 0x00);
    if (f.cobro->estado == EstadoCobro::Pendiente) return QColor(0xC0, 0x60, 0x00);
    return {};
  }
  if (rol == kRolOrden) return f.valores.value(i.column());
  if (rol != Qt::DisplayRole) return {};
  return f.textos.value(i.column());
}

QVariant ModeloCuentasSorteos::headerData(int seccion, Qt::Orientation o, int rol) const {
  static const char* const kCabeceras[] = {"Sorteo",     "Apuestas",        "Coste €", "Premios", "Ganado €",
                                           "Caducado €", "Neto a cobrar €", "Lugar",   "Cobro"};
  const QVariant v = cabecera(kCabeceras, kColumnas, seccion, o, rol);
  return v.isValid() ? v : QAbstractTableModel::headerData(seccion, o, rol);
}

}  // namespace sortilan::ui
