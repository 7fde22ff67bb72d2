#include "gui/ui/tablaordenable.h"

#include <QAbstractItemView>
#include <QCollator>
#include <QHeaderView>
#include <QTableView>

namespace sortilan::ui {

namespace {
const QCollator& collator() {
  static const QCollator c = [] {
    QCollator n(QLocale(QLocale::Spanish, QLocale::Spain));
    n.setNumericMode(true);
    n.setCaseSensitivity(Qt::CaseInsensitive);
    return n;
  }();
  return c;
}
}  // namespace

ProxyTabla::ProxyTabla(QObject* padre) : QSortFilterProxyModel(padre) {
  setObjectName(QStringLiteral("ProxyTabla"));
  setSortRole(kRolOrden);
}

void ProxyTabla::filtrar(std::function<bool(int)> admite) {
  admite_ = std::move(admite);
  invalidateRowsFilter();
}

QVariant ProxyTabla::data(const QModelIndex& indice, int rol) const {
  if (rol == Qt::ToolTipRole) {
    // A cell cut by its column still tells its whole text.
    const QVariant propio = QSortFilterProxyModel::data(indice, rol);
    if (propio.isValid()) return propio;
    const QString texto = QSortFilterProxyModel::data(indice, Qt::DisplayRole).toString().trimmed();
    return texto.isEmpty() ? QVariant() : QVariant(texto);
  }
  return QSortFilterProxyModel::data(indice, rol);
}

bool ProxyTabla::lessThan(const QModelIndex& izquierda, const QModelIndex& derecha) const {
  const QVariant a = izquierda.data(kRolOrden), b = derecha.data(kRolOrden);
  if (a.isValid() && b.isValid()) {
    const QPartialOrdering o = QVariant::compare(a, b);
    if (o == QPartialOrdering::Less) return true;
    if (o == QPartialOrdering::Greater) return false;
    if (o == QPartialOrdering::Equivalent) return false;
  } else if (a.isValid() != b.isValid()) {
    // A cell without a value (an amount still unknown) goes before every value.
    return !a.isValid();
  }
  return collator().compare(izquierda.data(Qt::DisplayRole).toString(), derecha.data(Qt::DisplayRole).toString()) < 0;
}

bool ProxyTabla::filterAcceptsRow(int fila, const QModelIndex& padre) const {
  return padre.isValid() || !admite_ || admite_(fila);
}

ProxyTabla* ordenarPorCabecera(QTableView& vista) {
  auto* proxy = new ProxyTabla(&vista);
  proxy->setSourceModel(vista.model());
  vista.setModel(proxy);
  // No indicator: turning sorting on keeps the model's own order until a header is clicked.
  vista.horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  vista.horizontalHeader()->setSortIndicatorShown(true);
  vista.setSortingEnabled(true);
  return proxy;
}

int filaModelo(const QModelIndex& indice) {
  QModelIndex i = indice;
  while (const auto* p = qobject_cast<const QAbstractProxyModel*>(i.model())) i = p->mapToSource(i);
  return i.isValid() ? i.row() : -1;
}

QModelIndex indiceVista(const QAbstractItemView& vista, int fila, int columna) {
  QAbstractItemModel* m = vista.model();
  QList<const QAbstractProxyModel*> proxies;
  while (const auto* p = qobject_cast<const QAbstractProxyModel*>(m)) {
    proxies.prepend(p);
    m = p->sourceModel();
  }
  if (!m || fila < 0 || fila >= m->rowCount()) return {};
  QModelIndex i = m->index(fila, columna);
  for (const QAbstractProxyModel* p : proxies) i = p->mapFromSource(i);
  return i;
}

}  // namespace sortilan::ui
