#include "gui/members/modelossocios.h"

#include <QColor>

#include "base/fechas.h"
#include "gui/ui/tablaordenable.h"
#include "members/registrosocios.h"
#include "money/balance.h"

namespace sortilan::ui {

namespace {

bool valida(const QModelIndex& i, size_t filas, int columnas) {
  return i.isValid() && !i.parent().isValid() && i.row() >= 0 && static_cast<size_t>(i.row()) < filas &&
         i.column() >= 0 && i.column() < columnas;
}

// Amounts read right-aligned; a debt in red.
QVariant comun(int rol, bool cifra, bool esSaldo, Centimos saldo) {
  if (rol == Qt::TextAlignmentRole && cifra) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  if (rol == Qt::ForegroundRole && esSaldo && saldo < 0) return QColor(0xC0, 0, 0);
  return {};
}

}  // namespace

void ModeloSocios::poner(const SociosPena& socios) {
  beginResetModel();
  filas_.clear();
  const std::vector<Centimos> saldos = socios.saldos();
  size_t i = 0;
  for (const Socio& s : socios.socios) {
    const Centimos saldo = i < saldos.size() ? saldos[i] : 0;
    ++i;
    filas_.push_back(
        {s.numero,
         saldo,
         {QString::number(s.numero), s.nombre, QString::number(s.participacionesActuales()), fechaCorta(s.alta()),
          fechaCorta(s.baja()), textoSaldo(saldo)},
         {s.numero, QVariant(), s.participacionesActuales(), s.alta(), s.baja(), QVariant::fromValue(saldo)}});
  }
  endResetModel();
}

int ModeloSocios::numero(int fila) const {
  return fila >= 0 && static_cast<size_t>(fila) < filas_.size() ? filas_[static_cast<size_t>(fila)].numero : 0;
}

int ModeloSocios::fila(int numero) const {
  for (size_t f = 0; f < filas_.size(); ++f)
    if (filas_[f].numero == numero) return static_cast<int>(f);
  return -1;
}

int ModeloSocios::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloSocios::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : kColumnas; }

QVariant ModeloSocios::data(const QModelIndex& indice, int rol) const {
  if (!valida(indice, filas_.size(), kColumnas)) return {};
  const Fila& f = filas_[static_cast<size_t>(indice.row())];
  if (rol == Qt::DisplayRole) return f.textos.value(indice.column());
  if (rol == kRolNumero) return f.numero;
  if (rol == kRolOrden) return f.valores.value(indice.column());
  const int c = indice.column();
  return comun(rol, c == Numero || c == Participaciones || c == Saldo, c == Saldo, f.saldo);
}

QVariant ModeloSocios::headerData(int seccion, Qt::Orientation o, int rol) const {
  static const QStringList kTitulos{QStringLiteral("Nº"),   QStringLiteral("Nombre"), QStringLiteral("Particip."),
                                    QStringLiteral("Alta"), QStringLiteral("Baja"),   QStringLiteral("Saldo")};
  if (o == Qt::Horizontal && rol == Qt::DisplayRole && seccion >= 0 && seccion < kColumnas) return kTitulos[seccion];
  return QAbstractTableModel::headerData(seccion, o, rol);
}

void ModeloMovimientos::poner(const std::vector<Movimiento>& movimientos) {
  beginResetModel();
  filas_.clear();
  for (auto m = movimientos.rbegin(); m != movimientos.rend(); ++m)
    filas_.push_back({*m,
                      {fechaCorta(m->fecha), textoLinea(*m), textoEuros(m->importe), textoSaldo(m->saldo)},
                      {m->fecha, QVariant(), QVariant::fromValue(m->importe), QVariant::fromValue(m->saldo)}});
  endResetModel();
}

const Movimiento* ModeloMovimientos::movimiento(int fila) const {
  return fila >= 0 && static_cast<size_t>(fila) < filas_.size() ? &filas_[static_cast<size_t>(fila)].movimiento
                                                                : nullptr;
}

int ModeloMovimientos::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloMovimientos::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : kColumnas; }

QVariant ModeloMovimientos::data(const QModelIndex& indice, int rol) const {
  if (!valida(indice, filas_.size(), kColumnas)) return {};
  const Fila& f = filas_[static_cast<size_t>(indice.row())];
  if (rol == Qt::DisplayRole) return f.textos.value(indice.column());
  if (rol == kRolOrden) return f.valores.value(indice.column());
  if (rol == kRolMovimiento) return f.movimiento.numero;
  // What the balance does not count reads grey, its balance too.
  if (rol == Qt::ForegroundRole && !f.movimiento.cuenta()) return QColor(0x80, 0x80, 0x80);
  const int c = indice.column();
  return comun(rol, c == Importe || c == Saldo, c == Saldo, f.movimiento.saldo);
}

QVariant ModeloMovimientos::headerData(int seccion, Qt::Orientation o, int rol) const {
  static const QStringList kTitulos{QStringLiteral("Fecha"), QStringLiteral("Concepto"), QStringLiteral("Importe"),
                                    QStringLiteral("Saldo")};
  if (o == Qt::Horizontal && rol == Qt::DisplayRole && seccion >= 0 && seccion < kColumnas) return kTitulos[seccion];
  return QAbstractTableModel::headerData(seccion, o, rol);
}

}  // namespace sortilan::ui
