#pragma once

#include <QtGlobal>
#include <functional>
#include <memory>

struct VoucherContext;
struct VoucherProfile;

// Vouchers in flight at once: enough to cover a slow link's round trip many
// times over, few enough that a router is never flooded.
constexpr int DefaultPipelineWindow = 128;

// How a pipelined batch is steered from outside.
struct PipelineControl
{
    std::function<bool()> stopRequested; // no new voucher is started once true
    std::function<void(quint32 made)> progress;
    int window = DefaultPipelineWindow;
};

// Makes up to `count` vouchers of the profile with random names on the open
// session, keeping up to `window` vouchers' commands in flight (one until the
// router has shown that it echoes tags; a router that does not keeps one).
// The end is the one of making them one after the other:
// - each voucher is written down in the journal before its add is sent, and
//   confirmed in serial order, so the vouchers made are numbered without gaps;
// - a refused random name is replaced and tried again;
// - a voucher that cannot be made ends the batch: the vouchers before it are
//   kept, the ones after it are removed from the router again and let go;
// - a lost connection keeps every voucher made, and leaves the ones whose fate
//   is unknown in the journal as unconfirmed.
// The operator is told of a failure once. Returns the number made.
quint32 createVouchersPipelined(const VoucherContext &context, std::shared_ptr<const VoucherProfile> profile,
                                quint32 count, const PipelineControl &control);
