#pragma once

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QItemSelectionModel>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <algorithm>

namespace sortilan::ui {

// Object name of element i of a control array: "Label9_3".
inline QString nombreIndice(const char* control, int i) {
  return QStringLiteral("%1_%2").arg(QLatin1String(control)).arg(i);
}

inline QLabel* etiqueta(QWidget* padre, const QString& nombre, const QString& texto = QString()) {
  auto* l = new QLabel(texto, padre);
  l->setObjectName(nombre);
  return l;
}

// A label whose text changes while the program runs keeps the width of the longest of
// `textos` (in its current font), so a new text never moves its neighbours.
inline void reservarAncho(QLabel* l, const QStringList& textos) {
  int ancho = 0;
  for (const QString& t : textos) ancho = std::max(ancho, l->fontMetrics().horizontalAdvance(t));
  l->setMinimumWidth(ancho + 2 * l->margin() + 4);
  QSizePolicy sp = l->sizePolicy();
  sp.setHorizontalPolicy(QSizePolicy::Ignored);
  l->setSizePolicy(sp);
}

// The row drawn highlighted in a list that selects whole rows one at a time, -1 when none:
// the row its buttons act on. The current row is not it: a Ctrl+click takes the highlight
// off and leaves the row current.
// It is the row of the model behind any sorting or filtering proxy.
inline int filaResaltada(const QAbstractItemView& v) {
  const QModelIndexList filas = v.selectionModel() ? v.selectionModel()->selectedRows() : QModelIndexList();
  if (filas.isEmpty()) return -1;
  QModelIndex i = filas.first();
  while (const auto* p = qobject_cast<const QAbstractProxyModel*>(i.model())) i = p->mapToSource(i);
  return i.row();
}

}  // namespace sortilan::ui
