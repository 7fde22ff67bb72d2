#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace sortilan {

// Little-endian field access over a record buffer. Record layouts are written
// field by field so that files match the historic byte layout on any host.
int16_t leerInt16(const char* p);
void escribirInt16(char* p, int16_t v);
double leerDouble(const char* p);
void escribirDouble(char* p, double v);

// Windows-1252 <-> Unicode. Unmapped bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to
// the C1 control of the same value so that every byte survives a round trip.
QString desdeWindows1252(const QByteArray& bytes);
QByteArray aWindows1252(const QString& text);

// Text field of fixed width: encoded, cut to the width, padded with blanks.
QByteArray campoTexto(const QString& text, int ancho);

}  // namespace sortilan
