#pragma once

#include "usermanagercommands.h"

#include <QString>
#include <QStringList>
#include <optional>

struct ApiReply;
struct VoucherContext;
struct VoucherProfile;
struct VoucherRecord;

// The router's side of making one voucher, one command at a time: the add,
// then what confirms it (the hotspot read-back; on User Manager the profile
// assignment or activation and the optional read-back, with one database
// rebuild when the first look misses). A refused name is replaced by a new
// random one (a given name is tried again as it is) a bounded number of
// times. The caller sends command() and hands its reply to take(); before
// every add (commandIsAdd()) the voucher must be written down, because its
// name may have changed.
class VoucherSteps
{
public:
    enum class State
    {
        Sending, // command() is to be sent
        Made,    // the router holds the voucher
        Failed,  // it does not, or it is not known (unanswered())
    };

    // The record (whose profile has a hotspot profile, or is a User Manager
    // one) must outlive the steps; Created and Expires are set here.
    VoucherSteps(const VoucherContext &context, const VoucherProfile &profile, VoucherRecord &record);

    State state() const { return m_state; }
    const QStringList &command() const { return m_command; }
    bool commandIsAdd() const { return m_phase == Phase::Add; }
    void take(const ApiReply &reply);

    // A command went unanswered (the connection was lost or timed out):
    // whether the router holds the voucher is not known.
    bool unanswered() const { return m_unanswered; }
    // The id the router gave the new user, once an add was accepted.
    const std::optional<QString> &routerId() const { return m_routerId; }
    // The command that removes the user the accepted add made.
    QStringList removal() const;
    // What the operator is told when the voucher failed.
    QString failureMessage() const;

private:
    enum class Phase
    {
        Add,
        ReadBack, // hotspot: print by name
        Assign,   // RouterOS 7: user-profile/add
        Activate, // RouterOS 5 and 6: create-and-activate-profile
        Verify,   // User Manager: print by name, when VerifyCreatedUser
        Rebuild,  // User Manager: database rebuild between two looks
    };

    void startAdd();
    void nextName();
    void passFailed();
    void completeUserManager();
    void verify();
    void lookedUp(bool found);
    void made();
    void setTimes();

    const VoucherContext &m_context;
    const VoucherProfile &m_profile;
    VoucherRecord &m_record;
    bool m_hotSpot;
    UserManagerCommands m_commands;
    QString m_stamp; // hotspot: the expiry comment
    State m_state = State::Sending;
    Phase m_phase = Phase::Add;
    QStringList m_command;
    int m_attempt = 0;
    int m_pass = 0;
    int m_look = 0;
    bool m_unanswered = false;
    std::optional<QString> m_routerId;
    QString m_error;
};

// Makes the voucher one command at a time on the context's session: each add
// written down in the journal first, the voucher confirmed when made. On
// failure the record leaves the batch, the journal lets it go unless its fate
// is unknown, and the operator is told why. True: made.
bool runVoucherSteps(const VoucherContext &context, const VoucherProfile &profile, VoucherRecord &record);
