// An icon whose pictures stay in their files and are read each time one is
// asked for, instead of being kept decoded for the life of the program.
//
// Made for a window icon offered at many sizes: a window asks for it once,
// at every size, when it is created. Kept decoded, the large sizes would
// hold memory for the whole run for pictures read a handful of times; read
// from the built-in resources they cost little when a window opens (the
// figures are in docs/performance.md).
#pragma once

#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>

namespace Quorvath {

struct IconFile {
    QSize size;
    QString path;   // of a PNG file
};

// The icon of `files`, one per size. Pixmaps are given at the smallest size
// that is at least as large as asked for, scaled down to fit, else at the
// largest; in every mode as in the normal one (window icons have no other).
QIcon fileIcon(QList<IconFile> files);

} // namespace Quorvath
