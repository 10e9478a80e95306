#pragma once
// The runtime takes exactly one thing on its command line: the map file.
#include <QString>
#include <QStringList>

#include <functional>

namespace maprun {

using ErrorBox = std::function<void(const QString& caption, const QString& text)>;

// Shows "Needs a .map file as a parameter " and returns false when the first
// argument is missing or empty.
bool CheckArguments(const QStringList& args, const ErrorBox& box);

} // namespace maprun
