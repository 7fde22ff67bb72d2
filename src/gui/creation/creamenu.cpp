#include "gui/creation/creamenu.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/ui/controles.h"
#include "gui/ui/secundaria.h"

namespace sortilan::ui {

Creamenu::Creamenu(QWidget* padre) : QWidget(padre, Qt::Window) {
  setObjectName(QStringLiteral("Creamenu"));
  setWindowTitle(QStringLiteral("Menú creación"));
  setAttribute(Qt::WA_DeleteOnClose);
  setMinimumWidth(300);

  auto* capa = new QVBoxLayout(this);
  auto* marcas = new QHBoxLayout;
  marcas->setSpacing(6);
  for (int i = 0; i < 18; ++i) {
    QLabel* x = etiqueta(this, nombreIndice("Label1", i), QStringLiteral("x"));
    x->setStyleSheet(QStringLiteral("color: rgb(200,30,45); font-weight: bold;"));
    QSizePolicy sp = x->sizePolicy();
    sp.setRetainSizeWhenHidden(true);
    x->setSizePolicy(sp);
    x->hide();
    Label1[static_cast<size_t>(i)] = x;
    marcas->addWidget(x);
  }
  marcas->addStretch();
  capa->addLayout(marcas);

  Label2 = etiqueta(this, QStringLiteral("Label2"), QStringLiteral("SELECCIONE UN MODO DE APUESTA:"));
  QFont f = Label2->font();
  f.setBold(true);
  Label2->setFont(f);
  capa->addWidget(Label2);

  const QString textos[2] = {QStringLiteral("Múltiple"), QStringLiteral("Sencilla")};
  for (int i : {1, 0}) {
    auto* c = new QCheckBox(textos[i], this);
    c->setObjectName(nombreIndice("Check1", i));
    Check1[static_cast<size_t>(i)] = c;
    capa->addWidget(c);
    connect(c, &QCheckBox::clicked, this, [this, i] { Check1_Click(i); });
  }

  Shape2 = new QFrame(this);
  Shape2->setObjectName(QStringLiteral("Shape2"));
  Shape2->setFrameShape(QFrame::Box);
  auto* opciones = new QVBoxLayout(Shape2);
  const char* const kTextos[7] = {nullptr,
                                  "6 números (6 apuestas)",
                                  "7 números (21 apuestas)",
                                  "8 números (56 apuestas)",
                                  "9 números (126 apuestas)",
                                  "10 números (252 apuestas)",
                                  "11 números (462 apuestas)"};
  for (int k = 1; k <= 6; ++k) {
    auto* o = new QRadioButton(QString::fromUtf8(kTextos[k]), Shape2);
    o->setObjectName(nombreIndice("Option1", k));
    Option1[static_cast<size_t>(k)] = o;
    opciones->addWidget(o);
    connect(o, &QRadioButton::clicked, this, [this, k] { Option1_Click(k); });
  }
  Shape2->hide();
  capa->addWidget(Shape2);
  capa->addStretch();

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(500);
  connect(Timer1, &QTimer::timeout, this, &Creamenu::Timer1_Timer);
  Timer1->start();
  cerrarConEscape(*this);
}

void Creamenu::Timer1_Timer() {
  if (contador_ >= static_cast<int>(Label1.size())) {
    Timer1->stop();
    return;
  }
  Label1[static_cast<size_t>(contador_)]->show();
  ++contador_;
  if (contador_ == static_cast<int>(Label1.size())) Timer1->stop();
}

void Creamenu::Check1_Click(int indice) {
  if (indice == 0) {
    // Unfolds or folds the multiple options; nothing else.
    Shape2->setVisible(Check1[0]->isChecked());
    return;
  }
  emit elegido(0);
  close();
}

void Creamenu::Option1_Click(int indice) {
  emit elegido(indice);
  close();
}

}  // namespace sortilan::ui
