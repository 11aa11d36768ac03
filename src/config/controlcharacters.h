#pragma once

#include <QString>
#include <QStringView>

// Whether the text holds a control character (tab, line break, any other C0 or
// C1 control, DEL) or a Unicode line or paragraph separator. Names holding one
// break the tab-separated listings and the lines they are shown on, and the
// router's commands would carry them.
bool hasControlCharacter(QStringView text);

// The operator's message for such a text in a field (the label as the form
// shows it, already translated).
QString controlCharacterText(const QString &field);
