#pragma once

#include <QDate>
#include <QDateEdit>
#include <QString>

namespace sortilan::ui {

// A date box that takes a date typed whole ("01/01/2020", "1/1/2020") as well as the
// calendar. The stock box edits one section at a time, so digits typed over a shown date
// land in whatever section the cursor is in; here the first typed character starts a
// new text, read when the user leaves the box or presses Return.
class CampoFecha : public QDateEdit {
  Q_OBJECT
 public:
  explicit CampoFecha(QWidget* padre = nullptr);
  CampoFecha(const QDate& fecha, QWidget* padre = nullptr);

  // A date written d/m/aaaa or dd/mm/aaaa (also with '-' or '.'), or an invalid QDate.
  static QDate leer(const QString& texto);
  // True while a typed text waits to be read.
  bool escribiendo() const { return escribiendo_; }

 signals:
  // A typed text that is no date or falls outside the range: the date stays as it was.
  void fechaRechazada(const QString& texto);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  // Tab leaves the box, as in any other box, instead of walking day, month and year.
  bool focusNextPrevChild(bool siguiente) override;

 private:
  void preparar();
  void mostrarEscrito();
  // Reads the typed text: the new date, or the old one back when it is no date.
  void terminar();

  bool escribiendo_ = false;
  QString escrito_;
};

}  // namespace sortilan::ui
