#pragma once

#include "voucherdesign.h"

#include <QByteArray>
#include <QList>

// A design of the first version of Voucher.bin (records 1, 2 and 3): a
// background picture and texts that name their font by number.
struct FirstGenerationDesign
{
    struct Font
    {
        quint32 Number = 0;
        QString Face;
        qint32 Size = 0;
        bool Bold = false;
        bool Italic = false;
    };
    struct Text
    {
        QString Text;
        quint32 FontNumber = 0;
        quint32 Colour = 0;
        quint8 Align = 0;
        quint8 Rotation = 0;
        qint32 X = 0;
        qint32 Y = 0;
    };

    QString Name;
    qint32 Width = 0;
    qint32 Height = 0;
    qint32 Margin = 0;
    QString Background; // bitmap path; empty for the built-in card picture
    QList<Font> Fonts;
    QList<Text> Texts;
};

// Readers of records of the right size: type 1 makes a design, types 2 and 3
// give its fonts and texts.
FirstGenerationDesign firstGenerationDesignFromRecord(const QByteArray &record);
FirstGenerationDesign::Font firstGenerationFontFromRecord(const QByteArray &record);
FirstGenerationDesign::Text firstGenerationTextFromRecord(const QByteArray &record);

// The design as today's model holds it: the background as an image over the
// whole voucher, each text with the face, style and size of its font (sizes
// were then in a unit 20/18 of today's).
VoucherDesign convertFirstGenerationDesign(const FirstGenerationDesign &old);
