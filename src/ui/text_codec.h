// Text between the library's bytes and Qt's strings. Bytes that are valid UTF-8 are read as UTF-8;
// others as Windows-1252, so that projects written on Windows read correctly. Text goes back as
// UTF-8.
#pragma once

#include <QString>
#include <string>

namespace leafsmith {

QString FromBytes(const std::string& bytes);
std::string ToBytes(const QString& text);

}  // namespace leafsmith
