#include "scriptedprompt.h"

bool ScriptedPrompt::askUserData(VoucherRecord &record)
{
    shown.append(record);
    if (m_edits.isEmpty())
        return false;
    return m_edits.takeFirst()(record);
}
