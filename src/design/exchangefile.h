#pragma once

#include "imagestore.h"
#include "voucherdesign.h"

#include <QIODevice>
#include <QString>

// Design exchange files (".tkd"): the records of one design as Voucher.bin
// holds them, each image's bitmap embedded after its graphic record (type 22:
// size 12, the length of the data, then the data, which the size does not
// count). The built-in card picture and bitmaps that cannot be read are not
// embedded.

// Writes the file; false when it could not be written.
bool exportDesign(const QString &path, const VoucherDesign &design);

// Reads an exchange stream into `design`, embedded bitmaps into the store;
// each graphic followed by a bitmap then names the stored file. True when a
// header was read and nothing failed: a record of a known type with a wrong
// size, a bitmap with no graphic before it, bitmap data cut short, or a
// bitmap that could not be stored fail the import; damage that ends the
// records (a size of 2000 or more, a record cut short) only ends the reading.
bool readExchangeFile(QIODevice &device, VoucherDesign &design, ImageStore &store);

// Imports the file into `design`, a new empty design, storing its bitmaps in
// the data folder under the stamp of `now`. Bitmaps already stored stay when
// the import fails later on.
bool importDesign(const QString &path, VoucherDesign &design, const QString &dataFolder, qint64 now);
