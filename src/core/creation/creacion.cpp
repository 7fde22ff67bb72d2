#include "creation/creacion.h"

#include <QRegularExpression>

#include "base/fechas.h"
#include "checking/altapena.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"
#include "store/codec.h"

namespace sortilan {

using plataforma::Icono;

const QString Creacion::kLimiteSencillas = QString::fromUtf8(kLimiteSencillasTexto);
const QString Creacion::kLimiteMultiple = QString::fromUtf8(kLimiteMultipleTexto);
const QString Creacion::kSoloNombre = QStringLiteral("Sólo tienes que poner un nombre. No puedes añadir más números.");
const QString Creacion::kNombreLargo = QString::fromUtf8(kNombreLargoTexto);
const QString Creacion::kSinNombre = QString::fromUtf8(kSinNombreTexto);
const QString Creacion::kTituloRepetida = QStringLiteral("Apuesta repetida");

namespace {
const QString kError = QStringLiteral("Error");
}  // namespace

Creacion::Creacion(int tipoapuesta)
    : tipoapuesta_(tipoapuesta >= 0 && tipoapuesta <= 6 ? tipoapuesta : 0),
      numerosapuesta_(5 + tipoapuesta_),
      azar_(std::random_device{}()) {
  cargar();
}

void Creacion::cargar() {
  numerosapuesta_ = 5 + tipoapuesta_;
  napuestas_ = 0;
  lineas_.clear();
  grabarActivo_ = false;
  borrarActivo_ = false;
  // A save refused for a missing name disables "Aleatorio"; a fresh peña gets it back.
  aleatorioActivo_ = true;
  numeroApuesta_ = QStringLiteral("1");
  nombre_.clear();
}

void Creacion::activar() {
  marcados_ = 0;
  solonombre_ = false;
}

QString Creacion::indicacion() const {
  return QStringLiteral("INTRODUZCA EL NOMBRE Y %1 NÚMEROS:").arg(numerosapuesta_);
}

void Creacion::avisarLimite() const {
  plataforma::mensaje(Icono::Informacion, kError, tipoapuesta_ == 0 ? kLimiteSencillas : kLimiteMultiple);
}

void Creacion::pulsar(int indice) {
  if (indice < 0 || indice >= kCeldas) return;
  if (solonombre_) {
    plataforma::mensaje(Icono::Informacion, kError, kSoloNombre);
    return;
  }
  const bool celdaClave = indice >= kCeldasNumero;
  // Each panel only answers for its own cells: a second key click must not add a
  // second key line, and a number cannot be marked before the key is chosen.
  if (celdaClave != panelClave_) return;
  if (celdaClave) {
    panelClave_ = false;
    trabajo_.ponerApuesta(numerosapuesta_ + 1, 1, static_cast<int16_t>(indice - kCeldasNumero));
    lineas_.append(QStringLiteral("Número clave:   %1").arg(indice - kCeldasNumero));
  }
  if (napuestas_ >= limite()) {
    avisarLimite();
    return;
  }
  bool& marca = marcas_[static_cast<size_t>(indice)];
  if (marca) {
    marca = false;
    --marcados_;
  } else if (marcados_ < numerosapuesta_ && !celdaClave) {
    marca = true;
    ++marcados_;
  }
  if (marcados_ == numerosapuesta_) anadeapuesta();
}

void Creacion::anadeapuesta() {
  ++napuestas_;
  borrarActivo_ = true;
  const int fila = static_cast<int>(lineas_.size());
  QString linea;
  int posicion = 0;
  for (int i = 0; i < kCeldasNumero; ++i) {
    bool& marca = marcas_[static_cast<size_t>(i)];
    if (!marca) continue;
    marca = false;
    ++posicion;
    trabajo_.ponerApuesta(posicion, fila, static_cast<int16_t>(i + 1));
    if (i + 1 < 10) linea += QLatin1Char(' ');
    linea += QString::number(i + 1);
    if (posicion != numerosapuesta_) linea += QLatin1Char('-');
  }
  marcados_ = 0;
  lineas_.append(linea);
  numeroApuesta_ = QString::number(napuestas_ + 1);
  grabarActivo_ = true;
}

bool Creacion::escribir(const QString& texto) {
  if (solonombre_) {
    plataforma::mensaje(Icono::Informacion, kError, kSoloNombre);
    return false;
  }
  std::vector<int> numeros;
  for (const QString& t : texto.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts)) {
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok) {
      plataforma::mensaje(
          Icono::Informacion, kError,
          QStringLiteral("Escriba sólo números, separados por espacios o comas: \"%1\" no lo es.").arg(t));
      return false;
    }
    numeros.push_back(n);
  }
  if (numeros.empty()) return false;
  if (panelClave_) {
    if (numeros.size() != 1 || numeros.front() < 0 || numeros.front() > 9) {
      plataforma::mensaje(Icono::Informacion, kError,
                          QStringLiteral("Escriba primero el número clave, de 0 a 9, y pulse Intro."));
      return false;
    }
    pulsar(kCeldasNumero + numeros.front());
    return true;
  }
  if (napuestas_ >= limite()) {
    avisarLimite();
    return false;
  }
  if (static_cast<int>(numeros.size()) != numerosapuesta_) {
    plataforma::mensaje(
        Icono::Informacion, kError,
        QStringLiteral("Cada apuesta lleva %1 números; ha escrito %2.").arg(numerosapuesta_).arg(numeros.size()));
    return false;
  }
  std::array<bool, kCeldasNumero> vistos{};
  for (int n : numeros) {
    if (n < 1 || n > kCeldasNumero) {
      plataforma::mensaje(Icono::Informacion, kError, QStringLiteral("El número %1 no está entre 1 y 54.").arg(n));
      return false;
    }
    if (vistos[static_cast<size_t>(n - 1)]) {
      plataforma::mensaje(Icono::Informacion, kError, QStringLiteral("El número %1 está repetido.").arg(n));
      return false;
    }
    vistos[static_cast<size_t>(n - 1)] = true;
  }
  // Numbers half-marked by clicks give way to the typed bet, as with "Aleatorio".
  for (int i = 0; i < kCeldasNumero; ++i) marcas_[static_cast<size_t>(i)] = false;
  marcados_ = 0;
  for (int n : numeros) pulsar(n - 1);
  return true;
}

void Creacion::aleatorio() {
  if (!aleatorioActivo_) return;
  if (panelClave_) {
    std::uniform_int_distribution<int> clave(0, 9);
    pulsar(kCeldasNumero + clave(azar_));
    return;
  }
  for (int i = 0; i < kCeldasNumero; ++i) marcas_[static_cast<size_t>(i)] = false;
  marcados_ = 0;
  if (napuestas_ >= limite()) {
    avisarLimite();
    return;
  }
  // One well-seeded generator for the whole run: reseeding from the clock would give
  // the same bet to two presses within the same clock tick.
  std::uniform_int_distribution<int> celda(0, kCeldasNumero - 1);
  std::array<bool, kCeldasNumero> usada{};
  for (int j = 0; j < numerosapuesta_;) {
    const int v = celda(azar_);
    if (usada[static_cast<size_t>(v)]) continue;
    usada[static_cast<size_t>(v)] = true;
    ++j;
    pulsar(v);
  }
}

void Creacion::borrar() {
  if (lineas_.isEmpty()) {
    borrarActivo_ = false;
    return;
  }
  if (napuestas_ == 0) borrarActivo_ = false;
  lineas_.removeAt(napuestas_);
  numeroApuesta_ = QString::number(napuestas_);
  if (napuestas_ == 0) {
    grabarActivo_ = false;
    panelClave_ = true;
    numeroApuesta_ = QStringLiteral("1");
  } else {
    --napuestas_;
    // Only the key line is left: nothing to save until a bet is complete again.
    if (napuestas_ == 0) grabarActivo_ = false;
  }
}

QString Creacion::mayusculas(const QString& texto) {
  QString s;
  s.reserve(texto.size());
  for (QChar c : texto) {
    if (c.isSurrogate() || c.category() == QChar::Other_Control) continue;
    // Characters without a Windows-1252 byte would be stored as '?'; a capital
    // without one (µ has none) keeps its small form.
    auto cabe = [](QChar x) { return x == QLatin1Char('?') || aWindows1252(QString(x)) != "?"; };
    const QChar m = c.toUpper();
    if (cabe(m))
      s.append(m);
    else if (cabe(c))
      s.append(c);
  }
  return s;
}

QString Creacion::cambiarNombre(const QString& texto) {
  nombre_ = mayusculas(texto);
  if (nombre_.size() > kLargoNombre) {
    plataforma::mensaje(Icono::Exclamacion, kError, kNombreLargo);
    nombre_ = QStringLiteral("AYYYYYY!!");
  }
  return nombre_;
}

Pena Creacion::registro(const QDate& hoy) const {
  const int tipo = tipoapuesta_ == 0 ? napuestas_ : 100 + tipoapuesta_;
  Pena p = nuevaPena(nombre_, tipo, hoy);
  p.apuestas = trabajo_.apuestas;
  return p;
}

bool Creacion::grabar(Sesion& sesion, const GuardarPena& guardar) {
  solonombre_ = false;
  if (napuestas_ == 0) return false;
  if (nombre_.trimmed().isEmpty()) {
    solonombre_ = true;
    plataforma::mensaje(Icono::Exclamacion, kError, kSinNombre);
    borrarActivo_ = false;
    aleatorioActivo_ = false;
    return false;
  }

  const Pena nueva = registro(plataforma::hoy());
  // The same bet twice is allowed (two peñas may share a bet on purpose) but seldom meant.
  // Not asked about a peña the dates refuse anyway: the save says why.
  const std::vector<Pena> penas = sesion.almacen().penas().leerTodos();
  const std::vector<ApuestaRepetida> repetidas = apuestasRepetidas(nueva, penas);
  if (!repetidas.empty() && comprobarFechasCreacion(penas, sesion.almacen().sorteos().leerTodos(), plataforma::hoy()) &&
      plataforma::mensaje(Icono::Pregunta, kTituloRepetida, preguntaRepetidas(repetidas), plataforma::Botones::SiNo,
                          plataforma::Respuesta::No) != plataforma::Respuesta::Si)
    return false;

  const auto [r, registroNuevo] = guardar(nueva);
  if (!r) {
    // Nothing was stored: keep what the user entered so the save can be retried.
    if (r.permiso)
      errorpermiso();
    else
      plataforma::mensaje(Icono::Exclamacion, kError, r.error);
    return false;
  }
  sesion.proximapena = registroNuevo + 1;
  // The window stays open, cleared, for the next peña: no marks or numbers of this
  // one may leak into it.
  trabajo_ = Pena{};
  marcas_.fill(false);
  marcados_ = 0;
  panelClave_ = true;
  cargar();
  return true;
}

}  // namespace sortilan
