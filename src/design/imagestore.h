#pragma once

#include <QIODevice>
#include <QString>

// Bitmaps that arrive with imported designs are kept as files of the data
// folder named by the import's stamp (the folder and the local time of the
// import as YYMMDDhhmmss), two upper-case hexadecimal digits and ".bmp".
struct ImageStore
{
    QString stamp;
    int lastCounter = 0; // the last counter this import used
};

// The store of an import that starts at `now` (seconds since 1970); creates
// the data folder. Without a data folder the stamp is a name relative to the
// working folder.
ImageStore openImageStore(const QString &dataFolder, qint64 now);

// Copies `length` bytes of the device into the first free file of the store
// after the last one used, and returns its path. Empty when no counter up to
// FF is free, the file cannot be written, the device holds fewer bytes (the
// partial file is removed again) or the path would not fit a graphic's source.
QString storeBitmap(ImageStore &store, QIODevice &device, quint32 length);
