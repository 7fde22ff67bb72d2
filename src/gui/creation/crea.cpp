#include "gui/creation/crea.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "gui/creation/casillaboleto.h"
#include "gui/creation/panelboleto.h"
#include "gui/ui/controles.h"
#include "gui/ui/secundaria.h"
#include "operations/penas.h"
#include "platform/plataforma.h"

namespace sortilan::ui {

namespace {
QPushButton* boton(QWidget* padre, const char* nombre, const QString& texto) {
  auto* b = new QPushButton(texto, padre);
  b->setObjectName(QLatin1String(nombre));
  return b;
}
}  // namespace

Crea::Crea(Sesion& sesion, int tipoapuesta, QWidget* padre)
    : QWidget(padre, Qt::Window), sesion_(sesion), creacion_(tipoapuesta) {
  setObjectName(QStringLiteral("Crea"));
  setWindowTitle(QStringLiteral("Crear peña nueva..."));
  setAttribute(Qt::WA_DeleteOnClose);

  auto* capa = new QVBoxLayout(this);
  Label4 = etiqueta(this, QStringLiteral("Label4"));
  QFont grande = Label4->font();
  grande.setBold(true);
  grande.setPointSizeF(grande.pointSizeF() * 1.2);
  Label4->setFont(grande);
  Label4->setStyleSheet(QStringLiteral("color: rgb(200,30,45);"));
  capa->addWidget(Label4);

  auto* nombre = new QHBoxLayout;
  Label1 = etiqueta(this, QStringLiteral("Label1"), QStringLiteral("Nombre de la Peña:"));
  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  nombre->addWidget(Label1);
  nombre->addWidget(Text1, 1);
  capa->addLayout(nombre);

  auto* cuerpo = new QHBoxLayout;
  capa->addLayout(cuerpo, 1);
  auto* boleto = new QVBoxLayout;
  cuerpo->addLayout(boleto);
  // Typing a bet is quicker than five clicks; Return marks it on the grid.
  // The caption sits above the box: beside it, both would not fit the key panel's width.
  LabelApuesta = etiqueta(this, QStringLiteral("LabelApuesta"));
  reservarAncho(LabelApuesta, {QStringLiteral("Clave (de 0 a 9):"), QStringLiteral("Apuesta (11 números):")});
  TextApuesta = new QLineEdit(this);
  TextApuesta->setObjectName(QStringLiteral("TextApuesta"));
  TextApuesta->setClearButtonEnabled(true);
  LabelApuesta->setBuddy(TextApuesta);
  boleto->addWidget(LabelApuesta);
  boleto->addWidget(TextApuesta);
  TextApuesta->installEventFilter(this);

  auto* numero = new QHBoxLayout;
  Label2 = etiqueta(this, QStringLiteral("Label2"), QStringLiteral("-Apuesta nº:"));
  Label3 = etiqueta(this, QStringLiteral("Label3"), QStringLiteral("1"));
  QFont negrita = Label3->font();
  negrita.setBold(true);
  Label3->setFont(negrita);
  numero->addWidget(Label2);
  numero->addWidget(Label3);
  numero->addStretch();
  boleto->addLayout(numero);
  // Both panels share one place of the size of the larger, so the window does not
  // jump when the key panel gives way to the number grid.
  auto* sitio = new QWidget(this);
  Picture2 = new PanelBoleto(PanelBoleto::Clase::Clave, sitio);
  Picture2->setObjectName(QStringLiteral("Picture2"));
  Picture2->setToolTip(QStringLiteral("Número clave"));
  Picture1 = new PanelBoleto(PanelBoleto::Clase::Numeros, sitio);
  Picture1->setObjectName(QStringLiteral("Picture1"));
  sitio->setFixedSize(Picture1->size().expandedTo(Picture2->size()));
  boleto->addWidget(sitio);
  boleto->addStretch();

  auto* derecha = new QVBoxLayout;
  cuerpo->addLayout(derecha, 1);
  List1 = new QListWidget(this);
  List1->setObjectName(QStringLiteral("List1"));
  QFont mono(QStringLiteral("Courier"));
  mono.setStyleHint(QFont::TypeWriter);
  List1->setFont(mono);
  List1->setStyleSheet(QStringLiteral("QListWidget { background-color: rgb(224,224,224); }"));
  List1->setSelectionMode(QAbstractItemView::NoSelection);
  List1->setMinimumWidth(260);
  derecha->addWidget(List1, 1);
  auto* botones = new QHBoxLayout;
  Command1 = boton(this, "Command1", QStringLiteral("Grabar"));
  Command2 = boton(this, "Command2", QStringLiteral("Borrar"));
  Command3 = boton(this, "Command3", QStringLiteral("Aleatorio"));
  botones->addWidget(Command1);
  botones->addWidget(Command2);
  botones->addWidget(Command3);
  derecha->addLayout(botones);
  LabelGrabada = etiqueta(this, QStringLiteral("LabelGrabada"));
  LabelGrabada->setStyleSheet(QStringLiteral("color: rgb(0, 110, 0);"));
  LabelGrabada->setWordWrap(true);
  // Room for two lines from the start, so the buttons above do not jump when it speaks.
  LabelGrabada->setMinimumHeight(2 * LabelGrabada->fontMetrics().lineSpacing());
  derecha->addWidget(LabelGrabada);

  // Name, bet, the grid, the key, then the buttons; the hidden panel is skipped.
  setTabOrder(Text1, TextApuesta);
  setTabOrder(TextApuesta, Picture1);
  setTabOrder(Picture1, Picture2);
  setTabOrder(Picture2, Command1);
  setTabOrder(Command1, Command2);
  setTabOrder(Command2, Command3);

  connect(Picture1, &PanelBoleto::pulsada, this, &Crea::Image1_Click);
  connect(Picture2, &PanelBoleto::pulsada, this, &Crea::Image1_Click);
  connect(Command1, &QPushButton::clicked, this, &Crea::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Crea::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &Crea::Command3_Click);
  connect(Text1, &QLineEdit::textEdited, this, &Crea::Text1_Change);
  cerrarConEscape(*this);
  botonPrincipal(*this, Command1);
  mostrar();
}

bool Crea::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == TextApuesta && evento->type() == QEvent::KeyPress) {
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    // Return here marks the bet; it must not reach "Grabar" as well. With nothing typed
    // there is nothing to mark, and Return is the window's: "Grabar".
    if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) {
      if (tecla->isAutoRepeat()) return true;
      if (!TextApuesta->text().trimmed().isEmpty())
        TextApuesta_Intro();
      else if (Command1->isEnabled())
        Command1->click();
      return true;
    }
  }
  return QWidget::eventFilter(objeto, evento);
}

void Crea::TextApuesta_Intro() {
  const bool tomada = creacion_.escribir(TextApuesta->text());
  if (tomada) TextApuesta->clear();
  mostrar();
  TextApuesta->setFocus();
}

void Crea::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  // Only the first activation counts: message boxes of this window hand the focus
  // back to it, and that must not drop a half-entered bet or the name-only state.
  if (mostrada_) return;
  mostrada_ = true;
  creacion_.activar();
  mostrar();
}

void Crea::Image1_Click(int indice) {
  LabelGrabada->clear();
  creacion_.pulsar(indice);
  mostrar();
}

void Crea::Command1_Click() {
  const QString nombre = creacion_.nombre().trimmed();
  const bool grabada = creacion_.grabar(sesion_, [this](const Pena& nueva) {
    const operaciones::Alta a = operaciones::crearPena(sesion_.almacen(), nueva, plataforma::hoy());
    return std::pair{a.resultado, a.registro};
  });
  mostrar();
  if (grabada) {
    LabelGrabada->setText(QStringLiteral("Peña «%1» grabada. Puede crear otra.").arg(nombre));
    Text1->setFocus();
    emit penaGrabada();
  }
}

void Crea::Command2_Click() {
  creacion_.borrar();
  mostrar();
}

void Crea::Command3_Click() {
  creacion_.aleatorio();
  mostrar();
}

void Crea::Text1_Change(const QString& texto) {
  const QString queda = creacion_.cambiarNombre(texto);
  if (queda != Text1->text()) {
    const int cursor = Text1->cursorPosition();
    Text1->setText(queda);
    Text1->setCursorPosition(std::min(cursor, static_cast<int>(queda.size())));
  }
}

void Crea::mostrar() {
  Label4->setText(creacion_.indicacion());
  Label3->setText(creacion_.numeroApuesta());
  LabelApuesta->setText(creacion_.panelClave()
                            ? QStringLiteral("&Clave (de 0 a 9):")
                            : QStringLiteral("&Apuesta (%1 números):").arg(creacion_.numerosapuesta()));
  TextApuesta->setToolTip(creacion_.panelClave()
                              ? QStringLiteral("Escriba el número clave y pulse Intro")
                              : QStringLiteral("Escriba los números separados por espacios o comas y pulse Intro"));
  if (Text1->text() != creacion_.nombre()) Text1->setText(creacion_.nombre());
  Picture2->setVisible(creacion_.panelClave());
  Picture1->setVisible(!creacion_.panelClave());
  for (CasillaBoleto* c : Picture1->casillas()) c->marcar(creacion_.marcada(c->indice()));
  if (lineasMostradas_ != creacion_.lineas()) {
    lineasMostradas_ = creacion_.lineas();
    List1->clear();
    List1->addItems(lineasMostradas_);
    List1->scrollToBottom();
  }
  Command1->setEnabled(creacion_.grabarActivo());
  Command2->setEnabled(creacion_.borrarActivo());
  Command3->setEnabled(creacion_.aleatorioActivo());
}

}  // namespace sortilan::ui
