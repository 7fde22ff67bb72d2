#include "gui/download/entradasorteo.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "download/guardado.h"
#include "gui/ui/campofecha.h"
#include "operations/entradas.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"
#include "session/sesion.h"

namespace sortilan::ui {

namespace {
// A box that starts empty ("--") so that no number is stored without being typed.
QSpinBox* casilla(QWidget* padre, const QString& nombre, int maximo) {
  auto* s = new QSpinBox(padre);
  s->setObjectName(nombre);
  s->setRange(-1, maximo);
  s->setSpecialValueText(QStringLiteral("--"));
  s->setValue(-1);
  s->setAlignment(Qt::AlignRight);
  return s;
}

// The latest draw day up to today: the draw most likely missing.
QDate ultimoDomingo(const QDate& hoy) { return hoy.addDays(-(hoy.dayOfWeek() % 7)); }
}  // namespace

EntradaSorteo::EntradaSorteo(Sesion& sesion, QWidget* padre) : QDialog(padre), sesion_(sesion) {
  setObjectName(QStringLiteral("EntradaSorteo"));
  setWindowTitle(kTituloAMano);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::ApplicationModal);

  auto* explicacion = new QLabel(
      QStringLiteral("Escriba el sorteo tal como aparece en el resultado oficial.\nTiene que ser posterior al "
                     "último sorteo guardado."),
      this);
  // Broken by hand: a wrapped label lets the window's minimum height fall short of its boxes.

  fecha = new CampoFecha(ultimoDomingo(plataforma::hoy()), this);
  fecha->setObjectName(QStringLiteral("fecha"));
  fecha->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  fecha->setCalendarPopup(true);

  auto* fila = new QHBoxLayout;
  for (size_t i = 0; i < numeros.size(); ++i) {
    numeros[i] = casilla(this, QStringLiteral("numero_%1").arg(i), 54);
    fila->addWidget(numeros[i]);
  }
  clave = casilla(this, QStringLiteral("clave"), 9);
  auto* filaClave = new QHBoxLayout;
  filaClave->addWidget(clave);
  filaClave->addStretch(4);

  auto* formulario = new QFormLayout;
  formulario->addRow(QStringLiteral("Fecha del sorteo:"), fecha);
  formulario->addRow(QStringLiteral("Números:"), fila);
  formulario->addRow(QStringLiteral("Número clave:"), filaClave);

  auto* botones = new QDialogButtonBox(this);
  aceptar = botones->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole);
  aceptar->setObjectName(QStringLiteral("aceptar"));
  aceptar->setDefault(true);
  cancelar = botones->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
  cancelar->setObjectName(QStringLiteral("cancelar"));
  connect(botones, &QDialogButtonBox::accepted, this, [this] {
    if (guardar()) accept();
  });
  connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* v = new QVBoxLayout(this);
  v->addWidget(explicacion);
  v->addLayout(formulario);
  v->addWidget(botones);
}

bool EntradaSorteo::guardar() {
  using plataforma::Icono;
  SorteoAMano s;
  s.fecha = fecha->date();
  for (size_t i = 0; i < numeros.size(); ++i) s.numeros[i] = numeros[i]->value();
  s.clave = clave->value();
  Almacen& almacen = sesion_.almacen();
  const QDate hoy = plataforma::hoy();
  int faltan = 0;
  if (const QString motivo = motivoSorteoAMano(almacen, s, hoy, &faltan); !motivo.isEmpty()) {
    plataforma::mensaje(Icono::Exclamacion, kTituloAMano, motivo);
    return false;
  }
  if (faltan > 0 && plataforma::mensaje(Icono::Pregunta, kTituloAMano,
                                        preguntaHueco(almacen.sorteos().ultimo().fecha, s.fecha, faltan),
                                        plataforma::Botones::SiNo) != plataforma::Respuesta::Si)
    return false;
  const Guardado g = operaciones::anadirSorteoAMano(almacen, s, hoy);
  if (g.guardados > 0) emit anadido();
  if (!g.resultado) {
    avisarFallo(g.resultado);
    return g.guardados > 0;
  }
  return true;
}

}  // namespace sortilan::ui
