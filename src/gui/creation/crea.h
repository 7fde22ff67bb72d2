#pragma once

#include <QWidget>

#include "creation/creacion.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace sortilan::ui {

class PanelBoleto;

// "Crear peña nueva...": draws the entry state of Creacion and forwards the clicks.
class Crea : public QWidget {
  Q_OBJECT
 public:
  Crea(Sesion& sesion, int tipoapuesta, QWidget* padre = nullptr);

  Creacion& creacion() { return creacion_; }

  // Handlers, public so tests can drive the window as the user does.
  void Image1_Click(int indice);
  void Command1_Click();  // Grabar
  void Command2_Click();  // Borrar
  void Command3_Click();  // Aleatorio

 signals:
  void penaGrabada();

 protected:
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  QLabel* Label1 = nullptr;
  QLineEdit* Text1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* LabelApuesta = nullptr;    // "Clave:" or "Apuesta:", what the box takes now
  QLineEdit* TextApuesta = nullptr;  // a bet typed from the keyboard
  QLabel* LabelGrabada = nullptr;    // the word after a save
  QListWidget* List1 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QPushButton* Command3 = nullptr;
  PanelBoleto* Picture2 = nullptr;  // key panel
  PanelBoleto* Picture1 = nullptr;  // number panel

  void Text1_Change(const QString& texto);
  // Return in the bet box.
  void TextApuesta_Intro();
  void mostrar();

  Sesion& sesion_;
  Creacion creacion_;
  bool mostrada_ = false;
  QStringList lineasMostradas_;
};

}  // namespace sortilan::ui
