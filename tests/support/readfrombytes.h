#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>

// What a reader of a stored file (readRouters, readDesigns, ...) reads from
// bytes held in memory, as if they were the file.
template<typename List, typename Result>
List readFromBytes(const QByteArray &bytes, Result (*read)(QIODevice &, List &))
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    List list;
    read(buffer, list);
    return list;
}

// Whether such a reader reads the bytes whole (it returns true then).
template<typename List>
bool readsWhole(const QByteArray &bytes, bool (*read)(QIODevice &, List &))
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    List list;
    return read(buffer, list);
}
