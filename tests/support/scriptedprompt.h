#pragma once

#include "generation/userdataprompt.h"
#include "generation/voucherrecord.h"

#include <QList>
#include <functional>

// The user-data prompt of tests: each call runs the next scripted edit (which
// may change the record) and confirms, or cancels when the edit says so or the
// script is empty. Records what the record looked like when it was shown.
class ScriptedPrompt : public UserDataPrompt
{
public:
    using Edit = std::function<bool(VoucherRecord &)>; // false: cancel

    void then(Edit edit) { m_edits.append(std::move(edit)); }

    QList<VoucherRecord> shown;

    bool askUserData(VoucherRecord &record) override;

private:
    QList<Edit> m_edits;
};
