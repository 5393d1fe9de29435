#pragma once

#include "RecordSet.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// A picture as the program keeps it: the encoded bytes exactly as they came
// from a file or the database, and the image decoded from them. The format is
// told by the bytes themselves, never by a stored extension, so a PNG saved
// as ".jpg" still shows. Bytes that decode to nothing give a picture without
// an image, never an error.
class TPicture
{
public:
    TPicture() = default;
    static TPicture FromData(const QByteArray &data);
    // Encodes as JPEG, or as PNG when the image has transparency.
    static TPicture FromImage(const QImage &image);

    bool HasImage() const { return !m_image.isNull(); }
    const QImage &Image() const { return m_image; }
    const QByteArray &Data() const { return m_data; }
    // The extension the bytes call for: ".jpg", ".png", ".bmp", ".gif",
    // ".ico", or empty when they are none of these.
    QString Ext() const { return FormatExt(m_data); }

    static QString FormatExt(const QByteArray &data);

private:
    QByteArray m_data;
    QImage m_image;
};

// The photo of one employee, for reports that print it beside the data.
class TPhotoSet : public TQuerySet
{
public:
    TPhotoSet();

    // Opens the employee's photo row (none when there is no photo).
    int Load(int empId);
    TPicture Picture() const;
};
