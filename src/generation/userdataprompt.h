#pragma once

struct VoucherRecord;

// The user-data prompt: the operator types what is not generated (a password,
// customer data, or the user name).
class UserDataPrompt
{
public:
    virtual ~UserDataPrompt();
    // True when confirmed (the record updated), false when cancelled.
    virtual bool askUserData(VoucherRecord &record) = 0;
};
