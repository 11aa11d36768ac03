#pragma once

#include "operatorinteraction.h"

class SettingsKey;

// Shows a notice with a "do not show again" check box unless the operator has
// ticked it before. The choice is kept in the settings key under the notice's
// suppression key, so it holds across program starts.
void showSuppressibleNotice(const SettingsKey &key, OperatorInteraction &interaction, const QString &text,
                            const QString &title, MessageIcon icon, const QString &suppressionKey);

// The settings value that records the choice for a suppression key.
QString suppressionValueName(const QString &suppressionKey);
