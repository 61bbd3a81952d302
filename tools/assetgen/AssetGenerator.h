#pragma once
// Writes the desk's whole resource directory: image/ and wav/ with every
// file the desk loads.

#include <QString>
#include <QStringList>

namespace assetgen {

// Returns the files written (relative to dir); on failure, error says which
// file could not be written and the list stops there.
QStringList generateResources(const QString& dir, QString* error);

} // namespace assetgen
