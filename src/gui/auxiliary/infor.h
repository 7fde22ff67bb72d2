#pragma once

#include <QTextBrowser>
#include <QWidget>

#include "auxiliary/noticias.h"

class QLabel;
class QPushButton;
class QTimer;

namespace sortilan::ui {

// Shows a news page as a local document: no scripts exist here, and every resource
// it names (images, style sheets, other pages) is refused, local or remote.
class NavegadorInforme : public QTextBrowser {
  Q_OBJECT
 public:
  using QTextBrowser::QTextBrowser;
  QVariant loadResource(int tipo, const QUrl& nombre) override;
};

// "Noticias del jefe...": the maker's news, above every other window.
class Infor : public QWidget {
  Q_OBJECT
 public:
  // `informe` is the path of the news file.
  explicit Infor(const QString& informe, QWidget* padre = nullptr);

  void Timer1_Timer();
  int izquierdaTwips() const { return deriva_.izquierda; }
  int pasoTwips() const { return deriva_.paso; }

 private:
  NavegadorInforme* WebBrowser1 = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;
  QTimer* Timer1 = nullptr;
  QPushButton* Command1 = nullptr;  // "Aceptar"

  void colocarEtiqueta();

  DerivaEtiqueta deriva_;
  QWidget* pista_ = nullptr;
};

// The news page as text: its declared encoding, else UTF-8 when valid, else Windows-1252.
QString textoInforme(const QByteArray& datos);

}  // namespace sortilan::ui
