#pragma once

class QPushButton;
class QString;
class QWidget;

namespace sortilan::ui {

// Escape closes a secondary window, as it closes a dialog.
void cerrarConEscape(QWidget& ventana);

// An "Aceptar" button that closes the window and answers Return.
QPushButton* botonAceptar(QWidget& ventana, const QString& nombre);

}  // namespace sortilan::ui
