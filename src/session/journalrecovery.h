#pragma once

struct AppState;

// Settles what an interrupted run (killed, or cut off from its router) left in
// the journal as unconfirmed on the current router: each voucher is asked of
// the router and, when the router holds it, recorded in the history and sold
// (one sale per profile and price); when it does not, it is dropped. A voucher
// whose row is already stored was recorded and sold by its run, which was cut
// off before it settled the entry: it is only settled. Shows
// nothing: vouchers the router could not be asked about stay for a later start,
// and nothing is touched while another run holds the data folder.
void settleUnconfirmedVouchers(AppState &state);
