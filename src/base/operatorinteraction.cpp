#include "operatorinteraction.h"

OperatorInteraction::~OperatorInteraction() = default;

WaitCursor::WaitCursor(OperatorInteraction &interaction) : m_interaction(interaction)
{
    m_interaction.beginWait();
}

WaitCursor::~WaitCursor()
{
    m_interaction.endWait();
}
