#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace sortilan {

// Money is whole cents everywhere: sums of prizes and costs must come out exact, and
// a binary fraction cannot hold 0,10 €.
using Centimos = qint64;

// Largest amount any text is read as (ten thousand million euros); anything longer is
// a typing slip or garbage, not money.
constexpr Centimos kMaximoCentimos = Centimos{1'000'000'000'000};

// "1.234,56 €", "-12,00 €".
QString textoEuros(Centimos c);
// The same without the euro sign, for table cells: "1.234,56".
QString textoImporte(Centimos c);
// For spreadsheets: no thousands separator, decimal comma, "-1234,56".
QString textoImporteCsv(Centimos c);

// An amount as a person writes it in Spanish: "20", "20,5", "20,00", "1.234,56",
// "1234,56 €", with an optional leading minus. Empty for anything else.
std::optional<Centimos> leerImporte(QStringView texto);

// What to tell someone whose amount did not read as one ("25.5", "veinte"): the window
// and the command line say the same.
QString avisoImporte();

// An amount as the results service writes it, with a decimal point ("47445.95",
// "3", "1.5"), read digit by digit. Never negative. Empty for anything else.
std::optional<Centimos> leerImportePunto(QStringView texto);

}  // namespace sortilan
