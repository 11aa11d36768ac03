#pragma once

#include "salesledger.h"

#include <QList>

struct AppState;
struct JournalEntry;
struct RouterConfig;

// Settles what interrupted runs (killed, or cut off from their router) left
// in the journal as unconfirmed on the current router, then brings
// PosHistory.bin up to the journal. Each voucher is asked of the router:
// - a usable one (a hotspot user, a User Manager user with its profile) is
//   recorded in the history (unless its row is stored already) and sold, one
//   sale per profile and price, all in one journal line;
// - a User Manager user without its profile gets its missing step, or is
//   removed from the router when that fails: it is never sold as it is;
// - one the router does not hold is withdrawn.
// Settling is idempotent: a kill at any point and a second settling leave the
// same end. It shows nothing (vouchers the router could not be asked about
// wait for a later start), and touches nothing while another run holds the
// data folder. What the operator must know of PosHistory.bin is returned.
SalesFileOutcome settleUnconfirmedVouchers(AppState &state);

// Whether the journal's entry belongs to the router: made at its address and
// port, or made under its name at a place no configured router has any more.
// Entries of older journals know only the router's name.
bool entryBelongsTo(const JournalEntry &entry, const RouterConfig &router,
                    const QList<RouterConfig> &routers);
