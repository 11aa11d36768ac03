#pragma once

#include <QString>
#include <optional>

// Why a user name the operator gives for a voucher cannot be used, as the
// operator reads it; nothing when it can. Refused are: an empty name; control
// and format characters (line breaks, tabs, escapes, bidirectional overrides,
// invisible joiners, line and paragraph separators, and halves of characters),
// which would make the router, a printed voucher or an exported file show
// something else than what was typed; and names longer than `maxLength` UTF-16
// units, the size of the column that records them.
std::optional<QString> givenNameProblem(const QString &name, qsizetype maxLength);
