#include "gui/checking/modelopenas.h"

#include <QDate>

#include "gui/ui/tablaordenable.h"

namespace sortilan::ui {

void ModeloPenas::poner(const ResumenPenas& r) {
  beginResetModel();
  vacio_ = r.vacio;
  filas_ = r.filas;
  endResetModel();
}

int ModeloPenas::rowCount(const QModelIndex& padre) const {
  if (padre.isValid()) return 0;
  return vacio_ ? 1 : static_cast<int>(filas_.size());
}

int ModeloPenas::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : 4; }

QVariant ModeloPenas::data(const QModelIndex& i, int rol) const {
  if (!i.isValid()) return {};
  if (rol == Qt::TextAlignmentRole) {
    const bool centrada = i.column() == 1 || i.column() == 2;
    return QVariant::fromValue((centrada ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
  }
  if (rol == kRolOrden) {
    if (vacio_) return {};
    const FilaPena& f = filas_[static_cast<size_t>(i.row())];
    if (i.column() == 1) return f.apuestas.trimmed().toInt();
    if (i.column() == 2) return QDate::fromString(f.creacion, QStringLiteral("dd/MM/yyyy"));
    return {};
  }
  if (rol != Qt::DisplayRole) return {};
  if (vacio_) return i.column() == 0 ? textoVacio() : QString();
  const FilaPena& f = filas_[static_cast<size_t>(i.row())];
  switch (i.column()) {
    case 0: return f.nombre;
    case 1: return f.apuestas;
    case 2: return f.creacion;
    default: return f.dias;
  }
}

QVariant ModeloPenas::headerData(int seccion, Qt::Orientation o, int rol) const {
  static const char* const kCabeceras[] = {"Nombre", "Apuestas", "Fecha creación", "Días a jugar"};
  if (o == Qt::Horizontal && rol == Qt::DisplayRole && seccion >= 0 && seccion < 4)
    return QString::fromUtf8(kCabeceras[seccion]);
  return QAbstractTableModel::headerData(seccion, o, rol);
}

}  // namespace sortilan::ui
