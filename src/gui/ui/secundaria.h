#pragma once

class QPushButton;
class QString;
class QWidget;

namespace sortilan::ui {

// Escape closes a secondary window, as it closes a dialog.
void cerrarConEscape(QWidget& ventana);

// Return and Enter press `boton` from anywhere in a window that is not a dialog, as a
// dialog's default button answers them; a button with the focus still answers for itself.
void botonPrincipal(QWidget& ventana, QPushButton* boton);

// An "Aceptar" button that closes the window and answers Return.
QPushButton* botonAceptar(QWidget& ventana, const QString& nombre);

}  // namespace sortilan::ui
