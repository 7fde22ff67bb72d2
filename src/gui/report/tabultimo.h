#pragma once

#include <QWidget>
#include <array>

class QGroupBox;
class QLabel;
class QPdfDocument;
class QPdfView;
class QPlainTextEdit;
class QVBoxLayout;

namespace sortilan {
struct UltimoSorteo;
}

namespace sortilan::ui {

// Tab 1 "Último sorteo": the newest stored draw, its prize breakdown and its report document.
// The widgets are its own: it shows what it is given.
class TabUltimo : public QWidget {
  Q_OBJECT
 public:
  explicit TabUltimo(QWidget* padre = nullptr);

  // Title, winning numbers and prizes; a category without a prize of that draw reads "-".
  void poner(const UltimoSorteo& u);
  // Text1 in place of the document.
  void mostrarAviso(const QString& texto);
  // The document in WebBrowser1; a file that cannot be opened is a failed navigation.
  void mostrarDocumento(const QString& archivo);
  // Lets go of the document file (before a new one replaces it).
  void cerrarDocumento();
  // The title band while the report is being brought up to date: the notice in orange,
  // then (false) back to the band's grey under the title the report sets.
  void mostrarActualizando(bool si);
  // Text1 shows a notice in place of the document.
  bool muestraAviso() const;
  void Text1_Click();

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  QLabel* Label8 = nullptr;
  std::array<QLabel*, 5> Numero{};  // the five winning numbers, in large type
  QLabel* Clave = nullptr;          // the key number
  QPlainTextEdit* Text1 = nullptr;
  QGroupBox* Frame2 = nullptr;
  std::array<QLabel*, 8> Label11{};  // category captions
  std::array<QLabel*, 8> Label10{};  // prize amounts
  QWidget* WebBrowser1 = nullptr;    // where the report document is shown
  QVBoxLayout* capaDocumento = nullptr;
  QPdfView* visor = nullptr;
  QPdfDocument* documento = nullptr;
};

}  // namespace sortilan::ui
