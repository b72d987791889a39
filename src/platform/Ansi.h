#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The single-byte code page of the files the old tool chain reads (Windows-1252).
namespace Ansi {

QString decode(const QByteArray& bytes);

// Characters outside the code page become '?'; *allFit tells whether any did.
QByteArray encode(const QString& text, bool* allFit = nullptr);
QByteArray encode(QStringView text, bool* allFit = nullptr);

bool fits(const QString& text);
bool fits(QStringView text);

// The catalogue may have been written as UTF-8 (when a character did not fit)
// or in the code page: valid UTF-8 is taken as UTF-8, anything else as the code page.
bool isValidUtf8(const QByteArray& bytes);
QString decodeCatalog(const QByteArray& bytes);

} // namespace Ansi
