// The window's pictures, drawn by scripts/make_ui_pictures.py and built into the program.
#pragma once

#include <QIcon>
#include <QString>

namespace leafsmith {

// The picture "ui/<name>.png" (with its "@2x" twin for dense screens), for example "toolbar/new".
inline QIcon Picture(const QString& name) {
    return QIcon(":/ui/" + name + ".png");
}

}  // namespace leafsmith
