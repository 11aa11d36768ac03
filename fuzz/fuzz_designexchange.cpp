// Design exchange files from any bytes: importing never fails badly, stores
// bitmaps only as new files of the image store, and a design that imported
// exports and imports again as the same design with the same bitmaps.

#include "filebytes.h"
#include "fuzzcheck.h"

#include "design/exchangefile.h"

#include <QBuffer>
#include <QDir>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 Now = 1700000000;

// An empty data folder.
QString freshFolder(const QString &name)
{
    const QString path = runPath(name);
    QDir(path).removeRecursively();
    require(QDir().mkpath(path), "an empty data folder");
    return path;
}

struct Import
{
    bool imported = false;
    VoucherDesign design;
    QStringList stored; // files of the store, by name
};

Import importBytes(const QByteArray &bytes, const QString &dataFolder)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    Import result;
    ImageStore store = openImageStore(dataFolder, Now);
    result.imported = readExchangeFile(buffer, result.design, store);
    result.stored = QDir(dataFolder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString first = freshFolder(u"first"_s);
    const Import whole = importBytes(input, first);

    // Only store files, each named by the stamp and a counter; graphics that
    // got a bitmap name one of them.
    const QString stamp = openImageStore(first, Now).stamp;
    require(whole.stored.size() <= 0xFF, "at most 255 bitmaps in one second");
    for (const QString &name : whole.stored) {
        const QString path = first + u'/' + name;
        require(path.startsWith(stamp) && path.size() == stamp.size() + 6 && path.endsWith(u".bmp"_s),
                "stored files are named by the stamp, a counter and .bmp");
    }
    for (const DesignGraphic &g : whole.design.Graphics) {
        if (g.Source.startsWith(stamp))
            require(whole.stored.contains(g.Source.mid(first.size() + 1)), "a stored bitmap exists");
    }

    // A file cut short reads no further than the whole.
    const Import partial = importBytes(input.first(cutPoint(input)), freshFolder(u"partial"_s));
    require(partial.design.Graphics.size() <= whole.design.Graphics.size() &&
                partial.design.Texts.size() <= whole.design.Texts.size(),
            "a file cut short reads no more elements");

    if (!whole.imported)
        return 0;

    // Export and import again. Images that name files of this machine, which
    // the input chose, are left out of the export.
    VoucherDesign design = whole.design;
    for (DesignGraphic &g : design.Graphics) {
        if (!g.Source.startsWith(stamp))
            g.Source = g.Source.startsWith(u'<') ? g.Source : QString();
    }
    const QString exported = runPath(u"out.tkd"_s);
    require(exportDesign(exported, design), "an imported design exports");
    const QString second = freshFolder(u"second"_s);
    const Import again = importBytes(readFile(exported), second);
    require(again.imported, "an exported design imports");

    const QString secondStamp = openImageStore(second, Now).stamp;
    VoucherDesign expected = design;
    qsizetype stored = 0;
    for (qsizetype i = 0; i < expected.Graphics.size(); ++i) {
        DesignGraphic &g = expected.Graphics[i];
        if (!g.Source.startsWith(stamp) || kindWord(g) != DesignGraphic::Image)
            continue;
        const QString copy = again.design.Graphics.value(i).Source;
        require(copy.startsWith(secondStamp) && readFile(copy) == readFile(g.Source),
                "an image's bitmap travels with it");
        g.Source = copy;
        ++stored;
    }
    require(again.stored.size() == stored, "one stored bitmap per image with a bitmap");
    require(again.design == expected, "an exported design imports as it was");
    return 0;
}
