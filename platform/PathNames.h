#pragma once

#include <QString>

namespace PathNames {

// The last component of a path, trailing slashes ignored: "/a/b/" gives "b",
// "/" gives "/", and a name without slashes is its own last component.
QString lastPathComponent(const QString &path);

} // namespace PathNames
