#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>

// What a reader of a stored file (readRouters, readDesigns, ...) reads from
// bytes held in memory, as if they were the file.
template<typename List>
List readFromBytes(const QByteArray &bytes, void (*read)(QIODevice &, List &))
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    List list;
    read(buffer, list);
    return list;
}
