#pragma once

#include <QString>
#include <QUrl>

namespace sortilan::plataforma {

// Addresses of the outside services, read from the optional "sortilan.ini" of the
// program folder, section [servicios]:
//   resultados = base address of the results service (scheme included)
//   operador   = the operator's web site (report documents)
//   fabricante = the maker's server (news, shop, web site); none by default
//   correo     = the support e-mail address named when an answer cannot be read
struct Servicios {
  QUrl resultados;
  QUrl operador;
  QUrl fabricante;  // empty: the news check, the shop and the web links do nothing
  QString correo;

  bool hayFabricante() const { return fabricante.isValid() && !fabricante.isEmpty(); }
  // Address on the maker's server, empty when there is none.
  QUrl delFabricante(const QString& ruta, const QString& fragmento = QString()) const;

  static QUrl porDefectoOperador();
};

// Reads <carpeta>/sortilan.ini; missing keys take their defaults.
Servicios leerServicios(const QString& carpeta);
// The services of the program folder.
Servicios servicios();

// The home page of a service's site: where a browser would come from, and where its
// cookies are handed out (the Referer and the first visit after a refusal).
QUrl portadaDe(const QUrl& direccion);

}  // namespace sortilan::plataforma
